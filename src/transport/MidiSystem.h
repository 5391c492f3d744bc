#pragma once
#include <cstdint>
#include <string>

namespace transport {

// Result codes the port layer reports, as the system returns them.
inline constexpr int MidiOk = 0;
inline constexpr int MidiError = 1;
inline constexpr int MidiBadDeviceId = 2;
inline constexpr int MidiAllocated = 4;
inline constexpr int MidiInvalidHandle = 5;
inline constexpr int MidiNoDriver = 6;
inline constexpr int MidiNotReady = 67;

// Message codes handed to the input callback.
inline constexpr uint32_t MidiInOpen = 0x3C1;
inline constexpr uint32_t MidiInClose = 0x3C2;
inline constexpr uint32_t MidiInData = 0x3C3;
inline constexpr uint32_t MidiInLongData = 0x3C4;

struct MidiCaps {
    std::string name; // at most 31 characters (a 32-character field ending in NUL)
};

// Called on the backend's own thread for every incoming event; must not block.
using MidiInCallback = void (*)(void* user, uint32_t msg, uint32_t param1);

// The platform's MIDI services: device lists, open/close, one short message at a time,
// input with a callback, and thru. Every call returns a result code (0 = ok).
class MidiSystem {
public:
    virtual ~MidiSystem() = default;
    virtual int outCount() = 0;
    virtual int outCaps(int id, MidiCaps& caps) = 0;
    virtual int inCount() = 0;
    virtual int inCaps(int id, MidiCaps& caps) = 0;
    virtual int outOpen(int id, uint32_t& handle) = 0;
    virtual int outClose(uint32_t handle) = 0;
    // msg = status + data1 * 256 + data2 * 65536
    virtual int outShortMsg(uint32_t handle, uint32_t msg) = 0;
    virtual int inOpen(int id, uint32_t& handle, MidiInCallback callback, void* user) = 0;
    virtual int inClose(uint32_t handle) = 0;
    virtual int inStart(uint32_t handle) = 0;
    virtual int inStop(uint32_t handle) = 0;
    virtual int connect(uint32_t inHandle, uint32_t outHandle) = 0;
    virtual int disconnect(uint32_t inHandle, uint32_t outHandle) = 0;
    // A short pause before a send answered "not ready" is tried again (about 1 ms).
    virtual void notReadyPause() {}
};

} // namespace transport
