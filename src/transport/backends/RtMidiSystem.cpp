#include "transport/backends/RtMidiSystem.h"
#include "transport/MidiByteParser.h"
#include "transport/MidiPort.h"
#include <RtMidi.h>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

namespace transport {

namespace {

constexpr uint32_t MaxHandle = 0xFFFFFF;

// Installed on every RtMidi object so that its complaints neither throw out of a callback
// nor go to the console; the call that caused one then counts as failed.
void recordError(RtMidiError::Type type, const std::string& /*text*/, void* user) {
    if (type == RtMidiError::DEBUG_WARNING) return;
    static_cast<std::atomic<bool>*>(user)->store(true, std::memory_order_relaxed);
}

template <class Midi> std::vector<std::string> portNames(Midi& midi) {
    std::vector<std::string> names;
    try {
        const unsigned count = midi.getPortCount();
        for (unsigned i = 0; i < count; ++i)
            names.push_back(midi.getPortName(i));
    } catch (...) {
        names.clear();
    }
    return names;
}

// Index of the port now called name, preferring the one it was listed at.
template <class Midi> int currentIndex(Midi& midi, const std::string& name, int listed) {
    const std::vector<std::string> names = portNames(midi);
    if (listed < static_cast<int>(names.size()) && names[listed] == name) return listed;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return static_cast<int>(i);
    return -1;
}

} // namespace

struct RtMidiSystem::Backend {
    RtMidi::Api api = RtMidi::UNSPECIFIED;
    std::atomic<bool> inError{false};
    std::atomic<bool> outError{false};
    std::unique_ptr<RtMidiIn> listIn;
    std::unique_ptr<RtMidiOut> listOut;
};

struct RtMidiSystem::OutPort {
    std::string name;
    std::mutex sendMutex;
    std::atomic<bool> error{false};
    std::unique_ptr<RtMidiOut> midi;

    int send(uint32_t msg) {
        const auto status = static_cast<uint8_t>(msg & 0xFF);
        const int length = messageLength(status);
        if (length == 0) return MidiError;
        const unsigned char bytes[3] = {status, static_cast<unsigned char>((msg >> 8) & 0x7F),
                                        static_cast<unsigned char>((msg >> 16) & 0x7F)};
        std::lock_guard lock(sendMutex);
        error.store(false, std::memory_order_relaxed);
        try {
            midi->sendMessage(bytes, static_cast<std::size_t>(length));
        } catch (...) {
            return MidiError;
        }
        return error.load(std::memory_order_relaxed) ? MidiError : MidiOk;
    }
};

struct RtMidiSystem::InPort {
    std::string name;
    MidiInCallback callback = nullptr;
    void* user = nullptr;
    std::atomic<bool> started{false};
    std::atomic<bool> error{false};
    std::mutex thruMutex;
    OutPort* thru = nullptr;
    // Declared last so it goes first: its thread is joined before the rest disappears.
    std::unique_ptr<RtMidiIn> midi;

    static void onMessage(double /*stamp*/, std::vector<unsigned char>* message, void* self) {
        auto& port = *static_cast<InPort*>(self);
        if (message == nullptr || message->empty() || message->size() > 3) return;
        const int length = messageLength((*message)[0]);
        if (length == 0 || static_cast<int>(message->size()) < length) return;
        if (!port.started.load(std::memory_order_acquire)) return;
        const uint32_t param = packMessage(message->data(), static_cast<std::size_t>(length));
        {
            std::lock_guard lock(port.thruMutex);
            if (port.thru != nullptr) port.thru->send(param);
        }
        if (port.callback != nullptr) port.callback(port.user, MidiInData, param);
    }
};

RtMidiSystem::RtMidiSystem(std::string clientName)
    : clientName_(std::move(clientName)), backend_(std::make_unique<Backend>()) {
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    std::error_code noDevice;
    for (RtMidi::Api api : apis) {
        // JACK needs a running server of its own; the dummy API has no devices.
        if (api == RtMidi::UNIX_JACK || api == RtMidi::RTMIDI_DUMMY) continue;
        // Without the sequencer device ALSA can only fail, and says so on the console.
        if (api == RtMidi::LINUX_ALSA && !std::filesystem::exists("/dev/snd/seq", noDevice))
            continue;
        try {
            backend_->listIn = std::make_unique<RtMidiIn>(api, clientName_);
            backend_->listIn->setErrorCallback(&recordError, &backend_->inError);
        } catch (...) {
            backend_->listIn.reset();
        }
        try {
            backend_->listOut = std::make_unique<RtMidiOut>(api, clientName_);
            backend_->listOut->setErrorCallback(&recordError, &backend_->outError);
        } catch (...) {
            backend_->listOut.reset();
        }
        if (backend_->listIn || backend_->listOut) {
            backend_->api = api;
            break;
        }
    }
    outCount();
    inCount();
}

RtMidiSystem::~RtMidiSystem() {
    std::lock_guard lock(mutex_);
    for (auto& [handle, port] : ins_) {
        port->started.store(false, std::memory_order_release);
        port->midi.reset();
    }
    ins_.clear();
    outs_.clear();
}

bool RtMidiSystem::available() const {
    return backend_->listIn || backend_->listOut;
}

int RtMidiSystem::outCount() {
    std::lock_guard lock(mutex_);
    outNames_.clear();
    if (backend_->listOut) outNames_ = portNames(*backend_->listOut);
    return static_cast<int>(outNames_.size());
}

int RtMidiSystem::inCount() {
    std::lock_guard lock(mutex_);
    inNames_.clear();
    if (backend_->listIn) inNames_ = portNames(*backend_->listIn);
    return static_cast<int>(inNames_.size());
}

int RtMidiSystem::outCaps(int id, MidiCaps& caps) {
    std::lock_guard lock(mutex_);
    if (id < 0 || id >= static_cast<int>(outNames_.size())) return MidiBadDeviceId;
    caps.name = capsName(outNames_[static_cast<std::size_t>(id)]);
    return MidiOk;
}

int RtMidiSystem::inCaps(int id, MidiCaps& caps) {
    std::lock_guard lock(mutex_);
    if (id < 0 || id >= static_cast<int>(inNames_.size())) return MidiBadDeviceId;
    caps.name = capsName(inNames_[static_cast<std::size_t>(id)]);
    return MidiOk;
}

int RtMidiSystem::outOpen(int id, uint32_t& handle) {
    std::lock_guard lock(mutex_);
    if (id < 0 || id >= static_cast<int>(outNames_.size())) return MidiBadDeviceId;
    const std::string& name = outNames_[static_cast<std::size_t>(id)];
    for (const auto& [h, port] : outs_)
        if (port->name == name) return MidiAllocated;

    auto port = std::make_unique<OutPort>();
    port->name = name;
    try {
        port->midi = std::make_unique<RtMidiOut>(backend_->api, clientName_);
        port->midi->setErrorCallback(&recordError, &port->error);
        const int index = currentIndex(*port->midi, name, id);
        if (index < 0) return MidiBadDeviceId;
        port->midi->openPort(static_cast<unsigned>(index), clientName_ + " Out");
    } catch (...) {
        return MidiError;
    }
    if (port->error.load() || !port->midi->isPortOpen()) return MidiError;
    handle = newHandle();
    outs_.emplace(handle, std::move(port));
    return MidiOk;
}

int RtMidiSystem::outClose(uint32_t handle) {
    std::lock_guard lock(mutex_);
    auto it = outs_.find(handle);
    if (it == outs_.end()) return MidiInvalidHandle;
    for (auto& [h, in] : ins_) {
        std::lock_guard thruLock(in->thruMutex);
        if (in->thru == it->second.get()) in->thru = nullptr;
    }
    try {
        it->second->midi->closePort();
    } catch (...) {
        // The port goes with its object in any case.
    }
    outs_.erase(it);
    return MidiOk;
}

int RtMidiSystem::outShortMsg(uint32_t handle, uint32_t msg) {
    std::lock_guard lock(mutex_);
    OutPort* port = findOut(handle);
    if (port == nullptr) return MidiInvalidHandle;
    return port->send(msg);
}

int RtMidiSystem::inOpen(int id, uint32_t& handle, MidiInCallback callback, void* user) {
    std::lock_guard lock(mutex_);
    if (id < 0 || id >= static_cast<int>(inNames_.size())) return MidiBadDeviceId;
    const std::string& name = inNames_[static_cast<std::size_t>(id)];
    for (const auto& [h, port] : ins_)
        if (port->name == name) return MidiAllocated;

    auto port = std::make_unique<InPort>();
    port->name = name;
    port->callback = callback;
    port->user = user;
    try {
        port->midi = std::make_unique<RtMidiIn>(backend_->api, clientName_);
        port->midi->setErrorCallback(&recordError, &port->error);
        port->midi->ignoreTypes(true, true, true);
        port->midi->setCallback(&InPort::onMessage, port.get());
        const int index = currentIndex(*port->midi, name, id);
        if (index < 0) return MidiBadDeviceId;
        port->midi->openPort(static_cast<unsigned>(index), clientName_ + " In");
    } catch (...) {
        return MidiError;
    }
    if (port->error.load() || !port->midi->isPortOpen()) return MidiError;
    handle = newHandle();
    ins_.emplace(handle, std::move(port));
    return MidiOk;
}

int RtMidiSystem::inClose(uint32_t handle) {
    std::lock_guard lock(mutex_);
    auto it = ins_.find(handle);
    if (it == ins_.end()) return MidiInvalidHandle;
    InPort& port = *it->second;
    port.started.store(false, std::memory_order_release);
    try {
        port.midi->cancelCallback();
        port.midi->closePort();
    } catch (...) {
        // Destroying the object below ends its thread in any case.
    }
    port.midi.reset();
    ins_.erase(it);
    return MidiOk;
}

int RtMidiSystem::inStart(uint32_t handle) {
    std::lock_guard lock(mutex_);
    InPort* port = findIn(handle);
    if (port == nullptr) return MidiInvalidHandle;
    port->started.store(true, std::memory_order_release);
    return MidiOk;
}

int RtMidiSystem::inStop(uint32_t handle) {
    std::lock_guard lock(mutex_);
    InPort* port = findIn(handle);
    if (port == nullptr) return MidiInvalidHandle;
    port->started.store(false, std::memory_order_release);
    return MidiOk;
}

int RtMidiSystem::connect(uint32_t inHandle, uint32_t outHandle) {
    std::lock_guard lock(mutex_);
    InPort* in = findIn(inHandle);
    OutPort* out = findOut(outHandle);
    if (in == nullptr || out == nullptr) return MidiInvalidHandle;
    std::lock_guard thruLock(in->thruMutex);
    in->thru = out;
    return MidiOk;
}

int RtMidiSystem::disconnect(uint32_t inHandle, uint32_t outHandle) {
    std::lock_guard lock(mutex_);
    InPort* in = findIn(inHandle);
    OutPort* out = findOut(outHandle);
    if (in == nullptr || out == nullptr) return MidiInvalidHandle;
    std::lock_guard thruLock(in->thruMutex);
    if (in->thru == out) in->thru = nullptr;
    return MidiOk;
}

void RtMidiSystem::notReadyPause() {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

int RtMidiSystem::messageLength(uint8_t status) {
    // Real-time messages are the status byte alone; 0xF9 and 0xFD are undefined.
    if (status >= 0xF8) return status == 0xF9 || status == 0xFD ? 0 : 1;
    const int data = MidiByteParser::dataLength(status);
    return data < 0 ? 0 : data + 1;
}

uint32_t RtMidiSystem::packMessage(const unsigned char* bytes, std::size_t size) {
    if (bytes == nullptr || size == 0 || size > 3) return 0;
    uint32_t packed = 0;
    for (std::size_t i = 0; i < size; ++i)
        packed |= static_cast<uint32_t>(bytes[i]) << (8 * i);
    return packed;
}

std::string RtMidiSystem::capsName(std::string_view name) {
    constexpr std::size_t Field = 31;
    if (name.size() <= Field) return std::string(name);
    std::size_t end = Field;
    // Back off over continuation bytes to the lead byte of a cut sequence, and drop it too.
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
        --end;
    return std::string(name.substr(0, end));
}

uint32_t RtMidiSystem::newHandle() {
    for (;;) {
        const uint32_t handle = nextHandle_;
        nextHandle_ = nextHandle_ >= MaxHandle ? 1 : nextHandle_ + 1;
        if (outs_.count(handle) == 0 && ins_.count(handle) == 0) return handle;
    }
}

RtMidiSystem::OutPort* RtMidiSystem::findOut(uint32_t handle) {
    auto it = outs_.find(handle);
    return it == outs_.end() ? nullptr : it->second.get();
}

RtMidiSystem::InPort* RtMidiSystem::findIn(uint32_t handle) {
    auto it = ins_.find(handle);
    return it == ins_.end() ? nullptr : it->second.get();
}

} // namespace transport
