#include "transport/MidiByteParser.h"

namespace transport {

int MidiByteParser::dataLength(uint8_t status) {
    if (status < 0x80) return -1;
    if (status < 0xC0) return 2; // note off / on, key pressure, controller
    if (status < 0xE0) return 1; // program change, channel pressure (the unit's mode answers)
    if (status < 0xF0) return 2; // pitch bend
    switch (status) {
    case 0xF1: // time code quarter frame
    case 0xF3: // song select
        return 1;
    case 0xF2: // song position
        return 2;
    case 0xF6: // tune request
        return 0;
    default:
        return -1;
    }
}

std::optional<uint32_t> MidiByteParser::feed(uint8_t byte) {
    if (byte >= 0xF8) return std::nullopt; // real time: dropped, the message goes on

    if (byte >= 0x80) {
        inSysex_ = byte == 0xF0;
        received_ = 0;
        const int length = dataLength(byte);
        if (length < 0) {
            status_ = 0;
            needed_ = 0;
            return std::nullopt;
        }
        status_ = byte;
        needed_ = length;
        if (length == 0) return complete();
        return std::nullopt;
    }

    if (inSysex_ || status_ == 0) return std::nullopt; // sysex data or a stray byte
    if (received_ == 0) data1_ = byte;
    ++received_;
    if (received_ < needed_) return std::nullopt;
    const uint32_t data2 = needed_ == 2 ? static_cast<uint32_t>(byte) << 16 : 0u;
    return complete() | data2;
}

uint32_t MidiByteParser::complete() {
    const uint32_t msg = status_ | (needed_ >= 1 ? static_cast<uint32_t>(data1_) << 8 : 0u);
    received_ = 0;
    // Only channel messages leave a status for the data bytes that follow.
    if (status_ >= 0xF0) {
        status_ = 0;
        needed_ = 0;
    }
    return msg;
}

void MidiByteParser::reset() {
    status_ = 0;
    needed_ = 0;
    received_ = 0;
    data1_ = 0;
    inSysex_ = false;
}

std::size_t encodeShortMessage(uint32_t msg, uint8_t (&out)[3]) {
    const auto status = static_cast<uint8_t>(msg & 0xFF);
    const int length = MidiByteParser::dataLength(status);
    if (length < 0) return 0;
    out[0] = status;
    out[1] = static_cast<uint8_t>((msg >> 8) & 0x7F);
    out[2] = static_cast<uint8_t>((msg >> 16) & 0x7F);
    return static_cast<std::size_t>(length) + 1;
}

} // namespace transport
