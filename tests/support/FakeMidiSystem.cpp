#include "support/FakeMidiSystem.h"

using namespace transport;

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

int FakeMidiSystem::outCaps(int id, MidiCaps& caps) {
    return capsOf(outNames, outCapsResult, id, caps);
}

int FakeMidiSystem::inCaps(int id, MidiCaps& caps) {
    return capsOf(inNames, inCapsResult, id, caps);
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
    ++calls.outClose;
    if (outCloseResult != transport::MidiOk) return outCloseResult;
    if (!outHandleValid(handle)) return transport::MidiInvalidHandle;
    outOpenId_ = -1;
    connected_ = false;
    return transport::MidiOk;
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
    ++calls.inClose;
    if (inCloseResult != transport::MidiOk) return inCloseResult;
    if (!inHandleValid(handle)) return transport::MidiInvalidHandle;
    inOpenId_ = -1;
    inStarted_ = false;
    connected_ = false;
    callback_ = nullptr;
    user_ = nullptr;
    return transport::MidiOk;
}

int FakeMidiSystem::inStart(uint32_t handle) {
    ++calls.inStart;
    if (inStartResult != transport::MidiOk) return inStartResult;
    if (!inHandleValid(handle)) return transport::MidiInvalidHandle;
    inStarted_ = true;
    return transport::MidiOk;
}

int FakeMidiSystem::inStop(uint32_t handle) {
    ++calls.inStop;
    if (inStopResult != transport::MidiOk) return inStopResult;
    if (!inHandleValid(handle)) return transport::MidiInvalidHandle;
    inStarted_ = false;
    return transport::MidiOk;
}

int FakeMidiSystem::connect(uint32_t inHandle, uint32_t outHandle) {
    ++calls.connect;
    if (connectResult != transport::MidiOk) return connectResult;
    if (!inHandleValid(inHandle) || !outHandleValid(outHandle)) return transport::MidiInvalidHandle;
    connected_ = true;
    return transport::MidiOk;
}

int FakeMidiSystem::disconnect(uint32_t inHandle, uint32_t outHandle) {
    ++calls.disconnect;
    if (disconnectResult != transport::MidiOk) return disconnectResult;
    if (!inHandleValid(inHandle) || !outHandleValid(outHandle)) return transport::MidiInvalidHandle;
    connected_ = false;
    return transport::MidiOk;
}

bool FakeMidiSystem::inject(uint32_t msg) {
    if (!injectEvent(transport::MidiInData, msg)) return false;
    if (connected_) thruForward.push_back(msg);
    return true;
}

bool FakeMidiSystem::injectEvent(uint32_t code, uint32_t param1) {
    if (!inStarted_ || callback_ == nullptr) return false;
    callback_(user_, code, param1);
    return true;
}
