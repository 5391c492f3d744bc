#include "support/FakeMidiSystem.h"

namespace {
int capsOf(const std::vector<std::string>& names, const std::map<int, int>& forced, int id,
           MidiCaps& caps) {
    if (id < 0 || id >= static_cast<int>(names.size())) return mmr::BadDeviceId;
    if (auto it = forced.find(id); it != forced.end() && it->second != mmr::Ok) return it->second;
    caps.name = names[id].substr(0, 31);
    return mmr::Ok;
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
    if (outOpenResult != mmr::Ok) return outOpenResult;
    if (id < 0 || id >= outCount()) return mmr::BadDeviceId;
    if (outOpenId_ >= 0) return mmr::Allocated;
    outOpenId_ = id;
    outHandle_ = handle = nextHandle_++;
    return mmr::Ok;
}

int FakeMidiSystem::outClose(uint32_t handle) {
    ++calls.outClose;
    if (outCloseResult != mmr::Ok) return outCloseResult;
    if (!outHandleValid(handle)) return mmr::InvalidHandle;
    outOpenId_ = -1;
    connected_ = false;
    return mmr::Ok;
}

int FakeMidiSystem::outShortMsg(uint32_t handle, uint32_t msg) {
    ++calls.outShortMsg;
    int result = outShortMsgDefault;
    if (!outShortMsgResults.empty()) {
        result = outShortMsgResults.front();
        outShortMsgResults.pop_front();
    }
    if (result == mmr::Ok && !outHandleValid(handle)) result = mmr::InvalidHandle;
    if (result == mmr::Ok) sent.push_back(msg);
    return result;
}

int FakeMidiSystem::inOpen(int id, uint32_t& handle, MidiInCallback callback, void* user) {
    ++calls.inOpen;
    if (inOpenResult != mmr::Ok) return inOpenResult;
    if (id < 0 || id >= inCount()) return mmr::BadDeviceId;
    if (inOpenId_ >= 0) return mmr::Allocated;
    inOpenId_ = id;
    inHandle_ = handle = nextHandle_++;
    callback_ = callback;
    user_ = user;
    inStarted_ = false;
    return mmr::Ok;
}

int FakeMidiSystem::inClose(uint32_t handle) {
    ++calls.inClose;
    if (inCloseResult != mmr::Ok) return inCloseResult;
    if (!inHandleValid(handle)) return mmr::InvalidHandle;
    inOpenId_ = -1;
    inStarted_ = false;
    connected_ = false;
    callback_ = nullptr;
    user_ = nullptr;
    return mmr::Ok;
}

int FakeMidiSystem::inStart(uint32_t handle) {
    ++calls.inStart;
    if (inStartResult != mmr::Ok) return inStartResult;
    if (!inHandleValid(handle)) return mmr::InvalidHandle;
    inStarted_ = true;
    return mmr::Ok;
}

int FakeMidiSystem::inStop(uint32_t handle) {
    ++calls.inStop;
    if (inStopResult != mmr::Ok) return inStopResult;
    if (!inHandleValid(handle)) return mmr::InvalidHandle;
    inStarted_ = false;
    return mmr::Ok;
}

int FakeMidiSystem::connect(uint32_t inHandle, uint32_t outHandle) {
    ++calls.connect;
    if (connectResult != mmr::Ok) return connectResult;
    if (!inHandleValid(inHandle) || !outHandleValid(outHandle)) return mmr::InvalidHandle;
    connected_ = true;
    return mmr::Ok;
}

int FakeMidiSystem::disconnect(uint32_t inHandle, uint32_t outHandle) {
    ++calls.disconnect;
    if (disconnectResult != mmr::Ok) return disconnectResult;
    if (!inHandleValid(inHandle) || !outHandleValid(outHandle)) return mmr::InvalidHandle;
    connected_ = false;
    return mmr::Ok;
}

bool FakeMidiSystem::inject(uint32_t msg) {
    if (!injectEvent(mim::Data, msg)) return false;
    if (connected_) thruForward.push_back(msg);
    return true;
}

bool FakeMidiSystem::injectEvent(uint32_t code, uint32_t param1) {
    if (!inStarted_ || callback_ == nullptr) return false;
    callback_(user_, code, param1);
    return true;
}
