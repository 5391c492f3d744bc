#pragma once
#include <cstdint>
#include <string>

// Result codes the port layer reports, as the system returns them.
namespace mmr {
inline constexpr int Ok = 0;
inline constexpr int Error = 1;
inline constexpr int BadDeviceId = 2;
inline constexpr int Allocated = 4;
inline constexpr int InvalidHandle = 5;
inline constexpr int NoDriver = 6;
inline constexpr int NotReady = 67;
} // namespace mmr

// Message codes handed to the input callback.
namespace mim {
inline constexpr uint32_t Open = 0x3C1;
inline constexpr uint32_t Close = 0x3C2;
inline constexpr uint32_t Data = 0x3C3;
inline constexpr uint32_t LongData = 0x3C4;
} // namespace mim

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
