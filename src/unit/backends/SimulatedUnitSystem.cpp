#include "unit/backends/SimulatedUnitSystem.h"
#include "base/FileStore.h"
#include "base/SystemPath.h"
#include "unit/EepromCodec.h"
#include <algorithm>

using namespace base;
using namespace transport;

namespace unit {

using namespace std::chrono;

SimulatedUnitSystem::SimulatedUnitSystem(std::string startFolder, uint64_t seed) : unit_(seed) {
    if (startFolder.empty()) return;
    eepromPath_ = pathText(filePath(startFolder) / EepromFileName);
    FileRead file = readFile(eepromPath_, MaxEepromFile);
    if (file.result == FileRead::Result::Missing) return; // created at the first change
    if (file.ok())
        if (const auto image = parseEeprom(file.bytes)) {
            unit_.setEeprom(*image);
            return;
        }
    // Replacing what could not be taken would lose it: the file stays as it is.
    refused_ = true;
    refusedBytes_ = std::move(file.bytes);
    refusedError_ = std::move(file.error);
}

std::string SimulatedUnitSystem::eepromRefusal(int langOffset) const {
    if (!refused_) return {};
    return refusedError_.empty() ? eepromRefusalReason(refusedBytes_, langOffset) : refusedError_;
}

SimulatedUnitSystem::~SimulatedUnitSystem() {
    stop();
}

void SimulatedUnitSystem::setDeviceName(const std::string& name) {
    std::lock_guard lk(mutex_);
    deviceName_ = name.substr(0, 31);
}

int SimulatedUnitSystem::outCaps(int id, MidiCaps& caps) {
    if (id != 0) return transport::MidiBadDeviceId;
    std::lock_guard lk(mutex_);
    caps.name = deviceName_;
    return transport::MidiOk;
}

int SimulatedUnitSystem::inCaps(int id, MidiCaps& caps) {
    return outCaps(id, caps);
}

int SimulatedUnitSystem::outOpen(int id, uint32_t& handle) {
    if (id != 0) return transport::MidiBadDeviceId;
    std::lock_guard lk(mutex_);
    if (outOpen_) return transport::MidiAllocated;
    outOpen_ = true;
    handle = OutHandle;
    startThreadLocked();
    return transport::MidiOk;
}

int SimulatedUnitSystem::outClose(uint32_t handle) {
    std::lock_guard lk(mutex_);
    if (!outOpen_ || handle != OutHandle) return transport::MidiInvalidHandle;
    outOpen_ = false;
    thru_ = false;
    return transport::MidiOk;
}

int SimulatedUnitSystem::outShortMsg(uint32_t handle, uint32_t msg) {
    {
        std::lock_guard lk(mutex_);
        if (!outOpen_ || handle != OutHandle) return transport::MidiInvalidHandle;
        unit_.receive(msg);
        pending_ = true;
    }
    wake_.notify_one();
    return transport::MidiOk;
}

int SimulatedUnitSystem::inOpen(int id, uint32_t& handle, MidiInCallback callback, void* user) {
    if (id != 0) return transport::MidiBadDeviceId;
    {
        std::lock_guard lk(mutex_);
        if (inOpen_) return transport::MidiAllocated;
        inOpen_ = true;
        inStarted_ = false;
        handle = InHandle;
        startThreadLocked();
    }
    std::lock_guard dl(deliveryMutex_);
    callback_ = callback;
    callbackUser_ = user;
    deliverOn_ = false;
    return transport::MidiOk;
}

int SimulatedUnitSystem::inClose(uint32_t handle) {
    {
        std::lock_guard lk(mutex_);
        if (!inOpen_ || handle != InHandle) return transport::MidiInvalidHandle;
        inOpen_ = false;
        inStarted_ = false;
        thru_ = false;
    }
    // Once this lock is held no callback is running, and none will run again.
    std::lock_guard dl(deliveryMutex_);
    deliverOn_ = false;
    callback_ = nullptr;
    callbackUser_ = nullptr;
    return transport::MidiOk;
}

int SimulatedUnitSystem::inStart(uint32_t handle) {
    {
        std::lock_guard lk(mutex_);
        if (!inOpen_ || handle != InHandle) return transport::MidiInvalidHandle;
        inStarted_ = true;
    }
    std::lock_guard dl(deliveryMutex_);
    deliverOn_ = true;
    return transport::MidiOk;
}

int SimulatedUnitSystem::inStop(uint32_t handle) {
    {
        std::lock_guard lk(mutex_);
        if (!inOpen_ || handle != InHandle) return transport::MidiInvalidHandle;
        inStarted_ = false;
    }
    std::lock_guard dl(deliveryMutex_);
    deliverOn_ = false;
    return transport::MidiOk;
}

int SimulatedUnitSystem::connect(uint32_t inHandle, uint32_t outHandle) {
    std::lock_guard lk(mutex_);
    if (!inOpen_ || !outOpen_ || inHandle != InHandle || outHandle != OutHandle)
        return transport::MidiInvalidHandle;
    thru_ = true;
    return transport::MidiOk;
}

int SimulatedUnitSystem::disconnect(uint32_t inHandle, uint32_t outHandle) {
    std::lock_guard lk(mutex_);
    if (!inOpen_ || !outOpen_ || inHandle != InHandle || outHandle != OutHandle)
        return transport::MidiInvalidHandle;
    thru_ = false;
    return transport::MidiOk;
}

void SimulatedUnitSystem::setEngine(const EngineSettings& settings) {
    std::lock_guard lk(mutex_);
    unit_.setEngine(settings);
}

EngineSettings SimulatedUnitSystem::engine() const {
    std::lock_guard lk(mutex_);
    return unit_.engine();
}

void SimulatedUnitSystem::setBattery(const BatterySettings& settings) {
    std::lock_guard lk(mutex_);
    unit_.setBattery(settings);
}

BatterySettings SimulatedUnitSystem::battery() const {
    std::lock_guard lk(mutex_);
    return unit_.battery();
}

void SimulatedUnitSystem::setFaults(const UnitFaults& faults) {
    std::lock_guard lk(mutex_);
    unit_.setFaults(faults);
}

UnitFaults SimulatedUnitSystem::faults() const {
    std::lock_guard lk(mutex_);
    return unit_.faults();
}

SimulatedUnitSystem::Status SimulatedUnitSystem::status() const {
    std::lock_guard lk(mutex_);
    return {unit_.mode(), unit_.currentRpm(), unit_.sentCount(), thread_.joinable(), thru_};
}

UnitEeprom SimulatedUnitSystem::eeprom() const {
    std::lock_guard lk(mutex_);
    return unit_.eeprom();
}

std::string SimulatedUnitSystem::lastSaveError() const {
    std::lock_guard sl(saveMutex_);
    return saveError_;
}

bool SimulatedUnitSystem::savePending() {
    if (!persistent()) return false;
    std::lock_guard sl(saveMutex_);
    uint64_t revision = 0;
    {
        std::lock_guard lk(mutex_);
        revision = unit_.eepromRevision();
    }
    saving_.observe(revision, duration_cast<milliseconds>(steady_clock::now() - epoch_).count());
    return saving_.pending();
}

void SimulatedUnitSystem::setSaveFailureReport(SaveFailureReport report) {
    std::lock_guard sl(saveMutex_);
    report_ = std::move(report);
}

void SimulatedUnitSystem::startThreadLocked() {
    if (thread_.joinable() || stopping_) return;
    thread_ = std::thread([this] { run(); });
}

void SimulatedUnitSystem::stop() {
    std::thread worker;
    {
        std::lock_guard lk(mutex_);
        stopping_ = true;
        worker.swap(thread_);
    }
    wake_.notify_all();
    if (worker.joinable()) worker.join();
    {
        std::lock_guard lk(mutex_);
        stopping_ = false;
    }
    saveIfDue(true);
}

void SimulatedUnitSystem::run() {
    auto last = steady_clock::now();
    auto next = last + milliseconds(1);
    std::unique_lock lk(mutex_);
    while (!stopping_) {
        if (!wake_.wait_until(lk, next, [this] { return stopping_ || pending_; })) {
            next += milliseconds(1);
            // After a long stall carry on from now rather than catching up in a burst.
            const auto now = steady_clock::now();
            if (next < now) next = now + milliseconds(1);
        }
        if (stopping_) break;
        pending_ = false;

        const auto elapsed = duration_cast<microseconds>(steady_clock::now() - last);
        last += elapsed; // the part below a microsecond carries over
        const auto step = std::min<int64_t>(elapsed.count(), 1'000'000);
        unit_.advance(static_cast<uint64_t>(std::max<int64_t>(step, 0)));
        std::vector<uint32_t> out = unit_.takeOutput();
        const bool started = inStarted_;

        lk.unlock();
        if (started && !out.empty()) deliver(out);
        saveIfDue(false);
        lk.lock();
    }
}

void SimulatedUnitSystem::deliver(const std::vector<uint32_t>& messages) {
    std::lock_guard dl(deliveryMutex_);
    if (!deliverOn_ || callback_ == nullptr) return;
    for (uint32_t msg : messages)
        callback_(callbackUser_, transport::MidiInData, msg);
}

void SimulatedUnitSystem::saveIfDue(bool force) {
    if (!persistent()) return;
    std::lock_guard sl(saveMutex_);
    uint64_t revision = 0;
    {
        std::lock_guard lk(mutex_);
        revision = unit_.eepromRevision();
    }
    const auto nowMs = [this] {
        return duration_cast<milliseconds>(steady_clock::now() - epoch_).count();
    };
    saving_.observe(revision, nowMs());
    if (!saving_.due(nowMs(), force)) return;

    UnitEeprom image;
    {
        std::lock_guard lk(mutex_);
        image = unit_.eeprom();
        revision = unit_.eepromRevision();
    }
    saving_.observe(revision, nowMs());
    saveError_ = writeFileAtomically(eepromPath_, serializeEeprom(image));
    // The change stays in memory until a save succeeds; the user hears of the failure once.
    if (saving_.finished(revision, saveError_, nowMs()) && report_) report_(saveError_);
}

} // namespace unit
