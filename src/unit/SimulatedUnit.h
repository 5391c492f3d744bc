#pragma once
#include "protocol/UnitMode.h"
#include "unit/BatteryModel.h"
#include "unit/EngineModel.h"
#include "unit/UnitFaults.h"
#include "unit/UnitMemory.h"
#include "unit/UnitRandom.h"
#include <cstdint>
#include <vector>

namespace unit {

// The ignition unit as the PC sees it through MIDI: two modules (MDX, MSX) with a data
// EEPROM and a program memory each, the mode commands, memory requests and the live
// streams of the engine and battery models. Time only moves through advance(); nothing
// here sleeps, spawns threads or reads a clock.
class SimulatedUnit {
public:
    // Messages waiting to be taken beyond this are lost (nobody is listening).
    static constexpr size_t MaxQueued = 65536;
    // A stopped engine is looked at again this often.
    static constexpr double StoppedRecheckUs = 100'000;
    // A module's EEPROM is busy this long after a write; a write arriving meanwhile is lost
    // without an answer (the transfers pace their writes 80 and 100 ms apart).
    static constexpr uint64_t EepromWriteUs = 4'000;

    explicit SimulatedUnit(uint64_t seed = 0x5A3E1);

    // One short message from the PC (status + data1 * 256 + data2 * 65536).
    void receive(uint32_t msg);
    // Lets us microseconds of unit time pass.
    void advance(uint64_t us);
    // Everything the unit has sent since the last call, oldest first.
    std::vector<uint32_t> takeOutput();
    bool hasOutput() const { return !output_.empty(); }

    // A new engine setting restarts the revolution in progress at the new speed.
    void setEngine(const EngineSettings& settings);
    const EngineSettings& engine() const { return engine_; }
    void setBattery(const BatterySettings& settings) { battery_ = settings; }
    const BatterySettings& battery() const { return battery_; }
    void setFaults(const UnitFaults& faults) { faults_ = faults; }
    const UnitFaults& faults() const { return faults_; }

    protocol::UnitMode mode() const { return mode_; }
    // Memory requests are answered only in programming mode and in EEPROM access.
    bool takesMemoryRequests() const {
        return mode_ == protocol::UnitMode::Programming ||
               mode_ == protocol::UnitMode::EepromAccess;
    }
    // Writes lost because the module was still busy with the previous one.
    uint64_t lostWrites() const { return lostWrites_; }
    // Speed of the revolution in progress, 0 when the engine stands still.
    double currentRpm() const { return revRpm_; }
    uint64_t nowUs() const { return now_; }
    uint64_t sentCount() const { return sent_; }

    const UnitEeprom& eeprom() const { return eeprom_; }
    // Replaces both EEPROMs (a stored image loaded at start); not counted as a change.
    void setEeprom(const UnitEeprom& eeprom) { eeprom_ = eeprom; }
    // Grows with every write request that changed a stored byte.
    uint64_t eepromRevision() const { return eepromRevision_; }
    const UnitBytes& program(UnitModuleId id) const {
        return id == UnitModuleId::MDX ? programMdx_ : programMsx_;
    }

private:
    void handleMode(uint8_t status);
    void handleMemory(uint32_t msg);
    void startRevolution(double t);
    void revolutionEnds(double t);
    void batteryCycle(double t);
    void sendCycle(const Revolution& rev, double t);
    void send(uint32_t msg);

    UnitEeprom eeprom_;
    UnitBytes programMdx_;
    UnitBytes programMsx_;
    EngineSettings engine_;
    BatterySettings battery_;
    UnitFaults faults_;
    UnitRandom engineRng_;
    UnitRandom faultRng_;

    protocol::UnitMode mode_ = protocol::UnitMode::Run;
    uint64_t now_ = 0;
    double revRpm_ = 0;
    double nextRevUs_ = 0;
    double nextBatteryUs_ = 0;
    uint64_t eepromRevision_ = 0;
    uint64_t writeBusyUntil_[2] = {0, 0}; // per module, unit time in us
    uint64_t lostWrites_ = 0;
    uint64_t sent_ = 0;
    std::vector<uint32_t> output_;
};

} // namespace unit
