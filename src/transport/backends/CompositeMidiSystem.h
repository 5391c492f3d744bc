#pragma once
#include "transport/MidiSystem.h"
#include <cstdint>
#include <map>
#include <vector>

namespace transport {

// Several MIDI systems shown as one: their device lists follow one another in the order
// the backends were given (a backend added later lists its devices after all others), and
// every call goes to the backend that owns the device or handle.
//
// The lists are taken from the backends when outCount() / inCount() are called (and when a
// backend is added); device numbers refer to the lists taken last. Handles are this
// object's own: the high byte is the backend's index + 1, the low 24 bits a serial number,
// so they stay unique whatever handles the backends use. The input callback and its user
// pointer go to the backend unchanged. Thru joins an input and an output of one backend;
// across backends connect() answers 1. Not thread-safe: used from one thread.
class CompositeMidiSystem : public MidiSystem {
public:
    explicit CompositeMidiSystem(std::vector<MidiSystem*> backends = {});

    // Appends a backend (null is ignored); its devices are listed after all others.
    void addBackend(MidiSystem* backend);
    int backendCount() const { return static_cast<int>(backends_.size()); }

    int outCount() override;
    int outCaps(int id, MidiCaps& caps) override;
    int inCount() override;
    int inCaps(int id, MidiCaps& caps) override;
    int outOpen(int id, uint32_t& handle) override;
    int outClose(uint32_t handle) override;
    int outShortMsg(uint32_t handle, uint32_t msg) override;
    int inOpen(int id, uint32_t& handle, MidiInCallback callback, void* user) override;
    int inClose(uint32_t handle) override;
    int inStart(uint32_t handle) override;
    int inStop(uint32_t handle) override;
    int connect(uint32_t inHandle, uint32_t outHandle) override;
    int disconnect(uint32_t inHandle, uint32_t outHandle) override;
    // Pauses as the backend that last answered "not ready" does.
    void notReadyPause() override;

private:
    struct Backend {
        MidiSystem* system;
        int outs = 0;
        int ins = 0;
    };
    struct Route {
        int backend;
        uint32_t handle; // the backend's own handle
        bool input;
    };
    struct Local {
        int backend = -1;
        int id = -1;
    };

    Local locate(int id, bool input) const;
    uint32_t addRoute(int backend, uint32_t handle, bool input);
    const Route* route(uint32_t handle, bool input) const;

    std::vector<Backend> backends_;
    std::map<uint32_t, Route> routes_;
    uint32_t serial_ = 0;
    MidiSystem* lastNotReady_ = nullptr;
};

} // namespace transport
