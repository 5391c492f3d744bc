#include "unit/SimulatedUnit.h"
#include "protocol/UnitPacking.h"

using namespace protocol;

namespace unit {

SimulatedUnit::SimulatedUnit(uint64_t seed)
    : eeprom_(factoryEeprom()), programMdx_(programMemory(UnitModuleId::MDX)),
      programMsx_(programMemory(UnitModuleId::MSX)), engineRng_(seed),
      faultRng_(seed ^ 0xFA017FA017ull) {
    startRevolution(0);
}

void SimulatedUnit::setEngine(const EngineSettings& settings) {
    engine_ = settings;
    startRevolution(static_cast<double>(now_));
}

void SimulatedUnit::receive(uint32_t msg) {
    const uint8_t status = protocol::statusOf(msg);
    switch (status & 0xF0) {
    case 0xD0:
        handleMode(status);
        break;
    case 0x80:
    case 0x90:
        handleMemory(msg);
        break;
    default:
        break; // data bytes without a status, or kinds the unit does not take
    }
}

void SimulatedUnit::handleMode(uint8_t status) {
    switch (status) {
    case 0xD0:
        mode_ = UnitMode::Run;
        send(0xD0);
        break;
    case 0xD1:
        if (faults_.refuseModes) {
            send(0xD0);
            break;
        }
        mode_ = UnitMode::Programming;
        send(0xD1);
        break;
    case 0xD2:
        if (faults_.refuseModes) {
            send(0xD3); // no EEPROM access
            break;
        }
        switch (faults_.eepromAnswer) {
        case EepromAnswer::Granted:
        case EepromAnswer::GrantedDataProg:
            mode_ = UnitMode::EepromAccess;
            send(faults_.eepromAnswer == EepromAnswer::Granted ? 0xD2 : 0xD4);
            break;
        case EepromAnswer::Denied:
            send(0xD3);
            break;
        case EepromAnswer::Refused:
            mode_ = UnitMode::Run;
            send(0xD0);
            break;
        }
        break;
    case 0xD5:
        mode_ = UnitMode::Battery;
        nextBatteryUs_ = static_cast<double>(now_ + SamplePeriodUs);
        send(0xD5);
        break;
    default:
        break;
    }
}

void SimulatedUnit::handleMemory(uint32_t msg) {
    const protocol::MemoryRequest req = protocol::decodeMemoryRequest(msg);
    if (!req.valid || !takesMemoryRequests()) return;
    auto module = req.msx ? UnitModuleId::MSX : UnitModuleId::MDX;
    uint8_t status = protocol::statusOf(msg);
    if (!req.read) {
        uint64_t& busyUntil = writeBusyUntil_[req.msx ? 1 : 0];
        if (now_ < busyUntil) {
            ++lostWrites_;
            return;
        }
        busyUntil = now_ + EepromWriteUs;
        uint8_t& cell = eeprom_.module(module)[req.address];
        if (cell != req.value) {
            cell = static_cast<uint8_t>(req.value);
            ++eepromRevision_;
        }
    }
    // The other module answering: its bit, and for a read its byte.
    if (faultRng_.chance(faults_.wrongModuleProbability)) {
        module = req.msx ? UnitModuleId::MDX : UnitModuleId::MSX;
        status ^= 0x04;
    }
    int value = req.value;
    if (req.read)
        value = req.program ? program(module)[req.address] : eeprom_.module(module)[req.address];
    send(protocol::packDataReply(status, req.address, value));
}

void SimulatedUnit::advance(uint64_t us) {
    const uint64_t target = now_ + us;
    const auto end = static_cast<double>(target);
    for (;;) {
        const bool batteryDue = mode_ == UnitMode::Battery && nextBatteryUs_ <= end;
        const bool revDue = nextRevUs_ <= end;
        if (revDue && (!batteryDue || nextRevUs_ <= nextBatteryUs_))
            revolutionEnds(nextRevUs_);
        else if (batteryDue)
            batteryCycle(nextBatteryUs_);
        else
            break;
    }
    now_ = target;
}

void SimulatedUnit::startRevolution(double t) {
    revRpm_ = profileRpm(engine_, t, engineRng_);
    nextRevUs_ = t + (revRpm_ > 0 ? 60e6 / revRpm_ : StoppedRecheckUs);
}

void SimulatedUnit::revolutionEnds(double t) {
    if (revRpm_ > 0 && mode_ == UnitMode::Run)
        sendCycle(revolutionAt(revRpm_, engine_, eeprom_.module(engine_.timingModule)), t);
    startRevolution(t);
}

void SimulatedUnit::batteryCycle(double t) {
    sendCycle(revolutionAt(revRpm_, engine_, eeprom_.module(engine_.timingModule)), t);
    nextBatteryUs_ = t + static_cast<double>(SamplePeriodUs);
}

void SimulatedUnit::sendCycle(const Revolution& rev, double t) {
    const uint8_t a2 = batteryCount(batteryVolts(battery_, t));
    send(protocol::packFirstValue(0x80, rev.tb));
    send(protocol::packSecondValue(0x90, rev.ta, rev.tb));
    send(protocol::packFirstValue(0xA0, rev.tib));
    send(protocol::packSecondValue(0xB0, rev.tss, rev.tib));
    send(protocol::packStatusBytes(rev.a1, a2));
}

void SimulatedUnit::send(uint32_t msg) {
    if (faults_.silent || faultRng_.chance(faults_.dropProbability)) return;
    if (faultRng_.chance(faults_.corruptProbability)) msg = corruptMessage(msg, faultRng_);
    if (output_.size() >= MaxQueued) return;
    output_.push_back(msg);
    ++sent_;
}

std::vector<uint32_t> SimulatedUnit::takeOutput() {
    std::vector<uint32_t> out;
    out.swap(output_);
    return out;
}

} // namespace unit
