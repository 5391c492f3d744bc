#include "transport/backends/CompositeMidiSystem.h"

namespace transport {

namespace {
constexpr uint32_t SerialMask = 0xFFFFFF;
}

CompositeMidiSystem::CompositeMidiSystem(std::vector<MidiSystem*> backends) {
    for (MidiSystem* backend : backends)
        addBackend(backend);
}

void CompositeMidiSystem::addBackend(MidiSystem* backend) {
    // The high byte of a handle names the backend: 255 of them at most.
    if (backend == nullptr || backends_.size() >= 255) return;
    backends_.push_back({backend, backend->outCount(), backend->inCount()});
}

int CompositeMidiSystem::outCount() {
    int total = 0;
    for (Backend& b : backends_) {
        b.outs = b.system->outCount();
        if (b.outs < 0) b.outs = 0;
        total += b.outs;
    }
    return total;
}

int CompositeMidiSystem::inCount() {
    int total = 0;
    for (Backend& b : backends_) {
        b.ins = b.system->inCount();
        if (b.ins < 0) b.ins = 0;
        total += b.ins;
    }
    return total;
}

int CompositeMidiSystem::outCaps(int id, MidiCaps& caps) {
    const Local at = locate(id, false);
    if (at.backend < 0) return MidiBadDeviceId;
    return backends_[static_cast<std::size_t>(at.backend)].system->outCaps(at.id, caps);
}

int CompositeMidiSystem::inCaps(int id, MidiCaps& caps) {
    const Local at = locate(id, true);
    if (at.backend < 0) return MidiBadDeviceId;
    return backends_[static_cast<std::size_t>(at.backend)].system->inCaps(at.id, caps);
}

int CompositeMidiSystem::outOpen(int id, uint32_t& handle) {
    const Local at = locate(id, false);
    if (at.backend < 0) return MidiBadDeviceId;
    uint32_t own = 0;
    const int result = backends_[static_cast<std::size_t>(at.backend)].system->outOpen(at.id, own);
    if (result == MidiOk) handle = addRoute(at.backend, own, false);
    return result;
}

int CompositeMidiSystem::inOpen(int id, uint32_t& handle, MidiInCallback callback, void* user) {
    const Local at = locate(id, true);
    if (at.backend < 0) return MidiBadDeviceId;
    uint32_t own = 0;
    const int result =
        backends_[static_cast<std::size_t>(at.backend)].system->inOpen(at.id, own, callback, user);
    if (result == MidiOk) handle = addRoute(at.backend, own, true);
    return result;
}

int CompositeMidiSystem::outClose(uint32_t handle) {
    const Route* r = route(handle, false);
    if (r == nullptr) return MidiInvalidHandle;
    const int result = backends_[static_cast<std::size_t>(r->backend)].system->outClose(r->handle);
    // A handle the backend no longer knows is gone as well.
    if (result == MidiOk || result == MidiInvalidHandle) routes_.erase(handle);
    return result;
}

int CompositeMidiSystem::inClose(uint32_t handle) {
    const Route* r = route(handle, true);
    if (r == nullptr) return MidiInvalidHandle;
    const int result = backends_[static_cast<std::size_t>(r->backend)].system->inClose(r->handle);
    if (result == MidiOk || result == MidiInvalidHandle) routes_.erase(handle);
    return result;
}

int CompositeMidiSystem::outShortMsg(uint32_t handle, uint32_t msg) {
    const Route* r = route(handle, false);
    if (r == nullptr) return MidiInvalidHandle;
    MidiSystem* system = backends_[static_cast<std::size_t>(r->backend)].system;
    const int result = system->outShortMsg(r->handle, msg);
    if (result == MidiNotReady) lastNotReady_ = system;
    return result;
}

int CompositeMidiSystem::inStart(uint32_t handle) {
    const Route* r = route(handle, true);
    if (r == nullptr) return MidiInvalidHandle;
    return backends_[static_cast<std::size_t>(r->backend)].system->inStart(r->handle);
}

int CompositeMidiSystem::inStop(uint32_t handle) {
    const Route* r = route(handle, true);
    if (r == nullptr) return MidiInvalidHandle;
    return backends_[static_cast<std::size_t>(r->backend)].system->inStop(r->handle);
}

int CompositeMidiSystem::connect(uint32_t inHandle, uint32_t outHandle) {
    const Route* in = route(inHandle, true);
    const Route* out = route(outHandle, false);
    if (in == nullptr || out == nullptr) return MidiInvalidHandle;
    if (in->backend != out->backend) return MidiError;
    return backends_[static_cast<std::size_t>(in->backend)].system->connect(in->handle,
                                                                            out->handle);
}

int CompositeMidiSystem::disconnect(uint32_t inHandle, uint32_t outHandle) {
    const Route* in = route(inHandle, true);
    const Route* out = route(outHandle, false);
    if (in == nullptr || out == nullptr) return MidiInvalidHandle;
    if (in->backend != out->backend) return MidiOk; // never joined, nothing to end
    return backends_[static_cast<std::size_t>(in->backend)].system->disconnect(in->handle,
                                                                               out->handle);
}

void CompositeMidiSystem::notReadyPause() {
    if (lastNotReady_ != nullptr) lastNotReady_->notReadyPause();
}

CompositeMidiSystem::Local CompositeMidiSystem::locate(int id, bool input) const {
    if (id < 0) return {};
    int first = 0;
    for (std::size_t i = 0; i < backends_.size(); ++i) {
        const int count = input ? backends_[i].ins : backends_[i].outs;
        if (id < first + count) return {static_cast<int>(i), id - first};
        first += count;
    }
    return {};
}

uint32_t CompositeMidiSystem::addRoute(int backend, uint32_t handle, bool input) {
    const uint32_t high = static_cast<uint32_t>(backend + 1) << 24;
    uint32_t composite = 0;
    do {
        serial_ = (serial_ + 1) & SerialMask;
        if (serial_ == 0) serial_ = 1;
        composite = high | serial_;
    } while (routes_.count(composite) != 0);
    routes_.emplace(composite, Route{backend, handle, input});
    return composite;
}

const CompositeMidiSystem::Route* CompositeMidiSystem::route(uint32_t handle, bool input) const {
    auto it = routes_.find(handle);
    if (it == routes_.end() || it->second.input != input) return nullptr;
    return &it->second;
}

} // namespace transport
