// Arbitrary bytes through the raw MIDI byte parser: no crash, the state stays in its ranges,
// every message it gives is a well-formed short message, and each one sent again through the
// encoder parses back to itself.
#include "FuzzCheck.h"
#include "transport/MidiByteParser.h"

#include <cstddef>
#include <cstdint>

using namespace transport;

namespace {
bool openStatus(uint8_t status) {
    return status == 0 || (status >= 0x80 && status <= 0xEF) || status == 0xF1 || status == 0xF2 ||
           status == 0xF3;
}

void checkMessage(uint32_t msg) {
    const auto status = static_cast<uint8_t>(msg & 0xFF);
    const uint32_t data1 = (msg >> 8) & 0xFF;
    const uint32_t data2 = (msg >> 16) & 0xFF;
    const int length = MidiByteParser::dataLength(status);
    check(length >= 0);
    check((msg >> 24) == 0);
    check(data1 < 0x80 && data2 < 0x80);
    if (length < 2) check(data2 == 0);
    if (length < 1) check(data1 == 0);

    uint8_t bytes[3] = {};
    const std::size_t size = encodeShortMessage(msg, bytes);
    check(size == static_cast<std::size_t>(length) + 1);
    MidiByteParser again;
    uint32_t back = 0;
    int count = 0;
    for (std::size_t i = 0; i < size; ++i)
        if (const auto m = again.feed(bytes[i])) {
            back = *m;
            ++count;
        }
    check(count == 1 && back == msg);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MidiByteParser parser;
    for (size_t i = 0; i < size; ++i) {
        const uint8_t byte = data[i];
        const uint8_t before = parser.status();
        const auto msg = parser.feed(byte);
        if (msg) checkMessage(*msg);
        // Real time never touches the state; a data byte never starts a message.
        if (byte >= 0xF8) check(!msg && parser.status() == before);
        if (byte < 0x80 && before == 0) check(!msg);

        check(openStatus(parser.status()));
        check(parser.received() >= 0 && parser.received() <= 1);
        if (parser.received() == 1) check(MidiByteParser::dataLength(parser.status()) == 2);
        if (parser.inSysex()) check(parser.status() == 0 && parser.received() == 0);
    }
    return 0;
}
