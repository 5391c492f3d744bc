#pragma once
#include "transport/MidiSystem.h"
#include "unit/DeferredSave.h"
#include "unit/SimulatedUnit.h"
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace unit {

// One output and one input device, both named "Simulated unit" unless the program gives
// them its own name (the string table's, in the chosen language), behind which the simulated
// ignition unit runs in real time on its own thread: every millisecond it is advanced by the
// time that really passed, and what it sends goes to the input callback while input is
// started. Its EEPROM is kept in "SimulatedUnit.eeprom" in the start folder.
class SimulatedUnitSystem : public transport::MidiSystem {
public:
    static constexpr const char* DeviceName = "Simulated unit";
    static constexpr const char* EepromFileName = "SimulatedUnit.eeprom";
    static constexpr uint32_t OutHandle = 0x53550001;
    static constexpr uint32_t InHandle = 0x53550002;
    // EEPROM changes are written once no further change came for this long.
    static constexpr std::chrono::milliseconds SaveDelay{300};
    // After a failed save the change is tried again this often (and at every new change).
    static constexpr std::chrono::milliseconds SaveRetryDelay{5000};
    // The largest file taken as an EEPROM image; anything larger is refused unread.
    static constexpr uintmax_t MaxEepromFile = 4096;

    // An empty folder keeps the EEPROM in memory only. A file that is there but refused
    // (unreadable, too large, of another length or a newer format) is never written: the
    // unit runs on factory contents kept in memory (eepromRefused()).
    explicit SimulatedUnitSystem(std::string startFolder = {}, uint64_t seed = 0x5A3E1);
    ~SimulatedUnitSystem() override;
    SimulatedUnitSystem(const SimulatedUnitSystem&) = delete;
    SimulatedUnitSystem& operator=(const SimulatedUnitSystem&) = delete;

    // The name both devices are listed under (at most 31 characters are kept).
    void setDeviceName(const std::string& name);

    int outCount() override { return 1; }
    int outCaps(int id, transport::MidiCaps& caps) override;
    int inCount() override { return 1; }
    int inCaps(int id, transport::MidiCaps& caps) override;
    int outOpen(int id, uint32_t& handle) override;
    int outClose(uint32_t handle) override;
    int outShortMsg(uint32_t handle, uint32_t msg) override;
    int inOpen(int id, uint32_t& handle, transport::MidiInCallback callback, void* user) override;
    int inClose(uint32_t handle) override;
    int inStart(uint32_t handle) override;
    int inStop(uint32_t handle) override;
    // Thru would hand the unit its own stream back as requests; it is only recorded.
    int connect(uint32_t inHandle, uint32_t outHandle) override;
    int disconnect(uint32_t inHandle, uint32_t outHandle) override;

    // Settings, safe from any thread.
    void setEngine(const EngineSettings& settings);
    EngineSettings engine() const;
    void setBattery(const BatterySettings& settings);
    BatterySettings battery() const;
    void setFaults(const UnitFaults& faults);
    UnitFaults faults() const;

    struct Status {
        protocol::UnitMode mode = protocol::UnitMode::Run;
        double rpm = 0;
        uint64_t sent = 0;
        bool running = false; // the real-time thread is going
        bool thru = false;
    };
    Status status() const;
    UnitEeprom eeprom() const;
    // Empty after a successful save, else what went wrong with the last one.
    std::string lastSaveError() const;
    // Where the EEPROM is kept; empty when only in memory.
    const std::string& eepromPath() const { return eepromPath_; }
    // The file was there but not taken; eepromRefusal() says why (the system's reason, or
    // the program's in the language of langOffset).
    bool eepromRefused() const { return refused_; }
    std::string eepromRefusal(int langOffset) const;
    // From now on changes stay in memory and nothing is written (another session of the
    // program keeps the same file).
    void keepEepromInMemory() { inMemoryOnly_ = true; }
    // EEPROM changes that are not in the file yet.
    bool savePending();
    // Called once when saving the EEPROM fails (and again only after a save has succeeded
    // since), from the unit's thread or from stop(); it must not block.
    using SaveFailureReport = std::function<void(const std::string& error)>;
    void setSaveFailureReport(SaveFailureReport report);

    // Ends the real-time thread (joins it) and writes pending EEPROM changes. The thread
    // starts again when a device is opened.
    void stop();

private:
    void startThreadLocked();
    void run();
    void deliver(const std::vector<uint32_t>& messages);
    void saveIfDue(bool force);
    bool anyOpenLocked() const { return outOpen_ || inOpen_; }
    bool persistent() const { return !eepromPath_.empty() && !refused_ && !inMemoryOnly_; }

    std::string eepromPath_;
    bool refused_ = false;
    std::string refusedBytes_; // the refused file, when it could be read
    std::string refusedError_; // the system's reason, when it could not
    std::atomic<bool> inMemoryOnly_{false};
    std::string deviceName_ = DeviceName;

    mutable std::mutex mutex_; // unit and device state
    std::condition_variable wake_;
    SimulatedUnit unit_;
    bool outOpen_ = false;
    bool inOpen_ = false;
    bool inStarted_ = false;
    bool thru_ = false;
    bool stopping_ = false;
    bool pending_ = false; // a message was fed in: deliver the answer without waiting
    std::thread thread_;

    // Held while the callback runs, so that inStop/inClose return only once no callback
    // is in progress. Never taken together with mutex_ by the delivering thread.
    std::mutex deliveryMutex_;
    transport::MidiInCallback callback_ = nullptr;
    void* callbackUser_ = nullptr;
    bool deliverOn_ = false;

    // Persistence (the thread and stop() only).
    mutable std::mutex saveMutex_;
    DeferredSave saving_{SaveDelay.count(), SaveRetryDelay.count()};
    std::chrono::steady_clock::time_point epoch_ = std::chrono::steady_clock::now();
    std::string saveError_;
    SaveFailureReport report_;
};

} // namespace unit
