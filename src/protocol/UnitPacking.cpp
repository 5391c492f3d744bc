#include "protocol/UnitPacking.h"
#include <algorithm>

namespace protocol {

namespace {

// Status bits 0-1 and the two data bytes for bits 0-15 of a value.
uint32_t packLow16(uint8_t statusHigh, uint32_t value) {
    const auto low = static_cast<uint8_t>(value & 0x7F);
    const auto high = static_cast<uint8_t>((value >> 8) & 0x7F);
    const auto status =
        static_cast<uint8_t>(statusHigh | ((value >> 7) & 0x01) | (((value >> 15) & 0x01) << 1));
    return shortMsg(status, low, high);
}

} // namespace

uint32_t packFirstValue(uint8_t kind, uint32_t value) {
    value = std::min(value, FirstValueMax);
    const auto bits1617 = static_cast<uint8_t>(((value >> 16) & 0x03) << 2);
    return packLow16(static_cast<uint8_t>((kind & 0xF0) | bits1617), value);
}

uint32_t packSecondValue(uint8_t kind, uint32_t value, uint32_t firstValue) {
    value = std::min(value, SecondValueMax);
    firstValue = std::min(firstValue, FirstValueMax);
    const auto bit16 = static_cast<uint8_t>(((value >> 16) & 0x01) << 2);
    const auto bit18 = static_cast<uint8_t>(((firstValue >> 18) & 0x01) << 3);
    return packLow16(static_cast<uint8_t>((kind & 0xF0) | bit16 | bit18), value);
}

uint32_t packStatusBytes(uint8_t a1, uint8_t a2) {
    const auto status = static_cast<uint8_t>(0xE0 | (a1 >> 7) | ((a2 >> 7) << 1));
    return shortMsg(status, a1 & 0x7F, a2 & 0x7F);
}

uint32_t packDataReply(uint8_t requestStatus, int address, int value) {
    const auto a = static_cast<uint8_t>(address & 0xFF);
    const auto v = static_cast<uint8_t>(value & 0xFF);
    const auto status = static_cast<uint8_t>((requestStatus & 0xFC) | ((a >> 7) << 1) | (v >> 7));
    return shortMsg(status, a & 0x7F, v & 0x7F);
}

uint8_t replyValue(uint32_t msg) {
    return static_cast<uint8_t>((data2Of(msg) & 0x7F) + 128 * (statusOf(msg) & 1));
}

MemoryRequest decodeMemoryRequest(uint32_t msg) {
    const uint8_t status = statusOf(msg);
    MemoryRequest r;
    const uint8_t kind = status & 0xF0;
    if (kind != 0x80 && kind != 0x90) return r;
    r.program = kind == 0x90;
    r.read = (status & 0x08) != 0;
    r.msx = (status & 0x04) != 0;
    // Stray bit 7 on a data byte is not part of the framing: it is masked off.
    r.address = (data1Of(msg) & 0x7F) + 128 * ((status >> 1) & 1);
    r.value = (data2Of(msg) & 0x7F) + 128 * (status & 1);
    // Program memory is read only; a program write is no request the unit knows.
    r.valid = !r.program || r.read;
    return r;
}

} // namespace protocol
