#pragma once
#include <array>
#include <cstdint>

class MidiPort;

namespace coil {

// Where the unit keeps the coil program: the six dwell indexes at 202..207, L at 208.
inline constexpr int FirstAddress = 202;
inline constexpr int TransferBytes = 7;
inline constexpr int TickMs = 100;
// How long the read-back waits for each answer.
inline constexpr int64_t ReplyLimitMs = 1000;

// Writing the coil program into one module, one byte per tick of the window's Timer1,
// then reading the seven bytes back. ProgState 1..7 write record byte 260 + ProgState to
// address 201 + ProgState; then the reads follow, one request per tick, each waiting for
// its answer (read reply of the addressed module echoing the address) at most
// ReplyLimitMs. The answers come in through unitMessage().
class CoilTransfer {
public:
    enum class Outcome { Running, Done, Mismatch, WrongModule, NoAnswer };

    explicit CoilTransfer(MidiPort& port) : port_(port) {}

    // bytes: record positions 261..267. master: the MDX module. ProgState = 0.
    void start(const std::array<uint8_t, TransferBytes>& bytes, bool master);
    bool running() const { return running_; }
    // One Timer1 tick at nowMs (any steady clock in milliseconds).
    Outcome tick(int64_t nowMs);
    // A message from the unit; the transfer takes the answer it waits for.
    void unitMessage(uint32_t msg);

    int ProgState = 0;
    int ProgIndex = 0;
    // The address the read-back stopped at, for the report.
    int failedAddress() const { return failedAddress_; }

private:
    Outcome finish(Outcome o);

    MidiPort& port_;
    std::array<uint8_t, TransferBytes> bytes_{};
    bool master_ = true;
    bool running_ = false;
    bool waiting_ = false;
    bool answered_ = false;
    bool wrongModule_ = false;
    int answer_ = 0;
    int address_ = FirstAddress;
    int64_t askedAtMs_ = 0;
    int failedAddress_ = 0;
};

} // namespace coil
