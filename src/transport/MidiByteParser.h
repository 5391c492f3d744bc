#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

namespace transport {

// Turns a raw MIDI byte stream (a serial line, a raw MIDI device node, a pseudo-terminal)
// into packed short messages, status + data1 * 256 + data2 * 65536, one byte at a time.
//
// - Running status: after a channel message (0x80-0xEF) further data bytes repeat its status.
//   A system common message (0xF1-0xF6) ends running status.
// - Real-time bytes (0xF8-0xFF) may fall between the bytes of a message; they are dropped
//   without disturbing the message in progress. The unit never sends them, and a timing
//   clock from other gear on the line would only fill the input ring.
// - System exclusive (0xF0) is skipped up to its 0xF7 or to any other status byte, which then
//   starts its own message. A lone 0xF7 and the undefined codes 0xF4 and 0xF5 only end running
//   status.
// - A data byte that belongs to no message (nothing to run on) is ignored.
// - A status byte that arrives before the previous message is complete abandons that message.
class MidiByteParser {
public:
    // Data bytes following a status byte that starts a short message: 0-2, or -1 when the
    // byte starts none (a data byte, system exclusive and its end, 0xF4, 0xF5, real time).
    static int dataLength(uint8_t status);

    // Takes the next byte of the stream; returns the message it completes, if any.
    std::optional<uint32_t> feed(uint8_t byte);
    // Forgets any message in progress, running status and system exclusive.
    void reset();

    // The state, for checks: the status the next data bytes belong to (0 none), how many of
    // its data bytes have arrived (0-1 while a message is open), and whether system exclusive
    // data is being skipped.
    uint8_t status() const { return status_; }
    int received() const { return received_; }
    bool inSysex() const { return inSysex_; }

private:
    uint32_t complete();

    uint8_t status_ = 0;
    int needed_ = 0;
    int received_ = 0;
    uint8_t data1_ = 0;
    bool inSysex_ = false;
};

// The bytes that carry a packed short message on a raw line, always with its status byte
// (no running status: a receiver that lost a byte finds its way back at the next message).
// Data bytes keep their low seven bits. Returns the number of bytes written to out (1-3), or
// 0 when the status byte starts no short message.
std::size_t encodeShortMessage(uint32_t msg, uint8_t (&out)[3]);

} // namespace transport
