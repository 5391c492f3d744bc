#include "support/FakeMidiSystem.h"

namespace {
int capsOf(const std::vector<std::string>& names, const std::map<int, int>& forced, int id,
           MidiCaps& caps) {
    if (id < 0 || id >= static_cast<int>(names.size())) return transport::MidiBadDeviceId;
    if (auto it = forced.find(id); it != forced.end() && it->second != transport::MidiOk)
        return it->second;
    caps.name = names[id].substr(0, 31);
    return transport::MidiOk;
}
} // namespace

int FakeMidiSystem::call(int& count, int forced, bool handleValid,
                         const std::function<void()>& effect) {
    ++count;
    if (forced != transport::MidiOk) return forced;
    if (!handleValid) return transport::MidiInvalidHandle;
    effect();
    return transport::MidiOk;
}

int FakeMidiSystem::outCaps(int id, MidiCaps& caps) {
    return capsOf(outNames, outCapsResult, id, caps);
}

int FakeMidiSystem::inCaps(int id, MidiCaps& caps) {
    return capsOf(inNames, {}, id, caps);
}

int FakeMidiSystem::outOpen(int id, uint32_t& handle) {
    ++calls.outOpen;
    if (outOpenResult != transport::MidiOk) return outOpenResult;
    if (id < 0 || id >= outCount()) return transport::MidiBadDeviceId;
    if (outOpenId_ >= 0) return transport::MidiAllocated;
    outOpenId_ = id;
    outHandle_ = handle = nextHandle_++;
    return transport::MidiOk;
}

int FakeMidiSystem::outClose(uint32_t handle) {
    return call(calls.outClose, outCloseResult, outHandleValid(handle), [this] {
        outOpenId_ = -1;
        connected_ = false;
    });
}

int FakeMidiSystem::outShortMsg(uint32_t handle, uint32_t msg) {
    ++calls.outShortMsg;
    int result = outShortMsgDefault;
    if (!outShortMsgResults.empty()) {
        result = outShortMsgResults.front();
        outShortMsgResults.pop_front();
    }
    if (result == transport::MidiOk && !outHandleValid(handle))
        result = transport::MidiInvalidHandle;
    if (result == transport::MidiOk) sent.push_back(msg);
    return result;
}

int FakeMidiSystem::inOpen(int id, uint32_t& handle, MidiInCallback callback, void* user) {
    ++calls.inOpen;
    if (inOpenResult != transport::MidiOk) return inOpenResult;
    if (id < 0 || id >= inCount()) return transport::MidiBadDeviceId;
    if (inOpenId_ >= 0) return transport::MidiAllocated;
    inOpenId_ = id;
    inHandle_ = handle = nextHandle_++;
    callback_ = callback;
    user_ = user;
    inStarted_ = false;
    return transport::MidiOk;
}

int FakeMidiSystem::inClose(uint32_t handle) {
    return call(calls.inClose, inCloseResult, inHandleValid(handle), [this] {
        inOpenId_ = -1;
        inStarted_ = false;
        connected_ = false;
        callback_ = nullptr;
        user_ = nullptr;
    });
}

int FakeMidiSystem::inStart(uint32_t handle) {
    return call(calls.inStart, inStartResult, inHandleValid(handle), [this] { inStarted_ = true; });
}

int FakeMidiSystem::inStop(uint32_t handle) {
    return call(calls.inStop, inStopResult, inHandleValid(handle), [this] { inStarted_ = false; });
}

int FakeMidiSystem::connect(uint32_t inHandle, uint32_t outHandle) {
    return call(calls.connect, connectResult, inHandleValid(inHandle) && outHandleValid(outHandle),
                [this] { connected_ = true; });
}

int FakeMidiSystem::disconnect(uint32_t inHandle, uint32_t outHandle) {
    return call(calls.disconnect, disconnectResult,
                inHandleValid(inHandle) && outHandleValid(outHandle),
                [this] { connected_ = false; });
}

bool FakeMidiSystem::inject(uint32_t msg) {
    if (!inStarted_ || callback_ == nullptr) return false;
    callback_(user_, transport::MidiInData, msg);
    return true;
}
