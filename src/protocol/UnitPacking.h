#pragma once
#include <cstdint>

namespace protocol {

// Short messages between the PC and the ignition unit, packed as status + data1 * 256 +
// data2 * 65536. The low nibble of a status byte is not a channel: it carries the bits
// that do not fit the 7-bit data bytes.

// 19 bits for the first value of a pair (bit 18 rides on the following message) and 17 bits
// for the second.
inline constexpr uint32_t FirstValueMax = 0x7FFFF;
inline constexpr uint32_t SecondValueMax = 0x1FFFF;

inline constexpr uint32_t shortMsg(uint8_t status, uint8_t data1, uint8_t data2) {
    return uint32_t{status} | (uint32_t{data1} << 8) | (uint32_t{data2} << 16);
}
inline constexpr uint8_t statusOf(uint32_t msg) {
    return static_cast<uint8_t>(msg & 0xFF);
}
inline constexpr uint8_t data1Of(uint32_t msg) {
    return static_cast<uint8_t>((msg >> 8) & 0xFF);
}
inline constexpr uint8_t data2Of(uint32_t msg) {
    return static_cast<uint8_t>((msg >> 16) & 0xFF);
}

// ---- unit to PC -------------------------------------------------------------------------
// Bits 0-15 of a time value: data1 = bits 0-6, status bit 0 = bit 7, data2 = bits 8-14,
// status bit 1 = bit 15.
// First value of a pair (kinds 0x80 Tb, 0xA0 Tib): bits 16-17 in status bits 2-3.
// Values above FirstValueMax are clamped.
uint32_t packFirstValue(uint8_t kind, uint32_t value);
// Second value of a pair (kinds 0x90 Ta, 0xB0 Tss): bit 16 in status bit 2; status bit 3
// carries bit 18 of the pair's first value. Values above SecondValueMax are clamped.
uint32_t packSecondValue(uint8_t kind, uint32_t value, uint32_t firstValue);
// Closing message of a cycle (0xE0): A1 = data1 + 128 * status bit 0, A2 = data2 + 128 *
// status bit 1.
uint32_t packStatusBytes(uint8_t a1, uint8_t a2);
// Answer to a memory request or echo of a write: status = the request's status with its two
// low bits replaced by bit 7 of the address (bit 1) and bit 7 of the value (bit 0);
// data1 = address & 0x7F, data2 = value & 0x7F.
uint32_t packDataReply(uint8_t requestStatus, int address, int value);

// Data byte of a memory answer: data2 + 128 * status bit 0.
uint8_t replyValue(uint32_t msg);

// ---- PC to unit -------------------------------------------------------------------------
// Memory requests: status bit 1 = bit 7 of data1 (the address), status bit 0 = bit 7 of
// data2 (the value); bit 2 the module (0 MDX, 1 MSX); bit 3 read (1) or write (0); bit 4
// program memory (1) or data EEPROM (0).
struct MemoryRequest {
    bool valid = false;
    bool read = false;
    bool program = false;
    bool msx = false;
    int address = 0;
    int value = 0;
};
MemoryRequest decodeMemoryRequest(uint32_t msg);

} // namespace protocol
