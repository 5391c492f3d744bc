#pragma once
#include "auxiliary/TransferProgress.h"
#include "protocol/UnitReplyWait.h"
#include <array>
#include <cstdint>

namespace transport {
class MidiPort;
} // namespace transport

namespace coil {

// Where the unit keeps the coil program: the six dwell indexes at 202..207, L at 208.
inline constexpr int FirstAddress = 202;
inline constexpr int TransferBytes = 7;
inline constexpr int TickMs = 100;

// Writing the coil program into one module, one byte per tick of the window's Timer1,
// then reading the seven bytes back. ProgState 1..7 write record byte 260 + ProgState to
// address 201 + ProgState; from ProgState 8 one read request per tick, each waiting for
// its answer (the read reply of the addressed module echoing the address) through the
// shared reply wait, at most about a second.
class CoilTransfer {
public:
    enum class Outcome { Running, Done, Mismatch, WrongModule, NoAnswer };

    CoilTransfer(transport::MidiPort& port, protocol::UnitReplyWait& wait)
        : port_(port), wait_(wait) {}

    // bytes: record positions 261..267. master: the MDX module. ProgState = 0.
    void start(const std::array<uint8_t, TransferBytes>& bytes, bool master);
    bool running() const { return running_; }
    // One Timer1 tick; tickMs of time have passed since the last one.
    Outcome tick(int tickMs = TickMs);
    void stop();

    int ProgState = 0;
    int ProgIndex = 0;
    // The address the read-back stopped at.
    int failedAddress() const { return failedAddress_; }
    // The whole job: seven bytes written, then read back.
    const auxiliary::TransferProgress& progress() const { return progress_; }
    bool verifying() const { return ProgState >= 8; }

private:
    Outcome finish(Outcome o);
    void sendRead();

    transport::MidiPort& port_;
    protocol::UnitReplyWait& wait_;
    std::array<uint8_t, TransferBytes> bytes_{};
    bool master_ = true;
    bool running_ = false;
    int address_ = FirstAddress;
    int failedAddress_ = 0;
    auxiliary::TransferProgress progress_;
};

} // namespace coil
