#include "transport/MidiByteParser.h"

#include <gtest/gtest.h>
#include <vector>

using namespace transport;

namespace {

using Bytes = std::vector<int>;
using Messages = std::vector<uint32_t>;

Messages parse(MidiByteParser& parser, const Bytes& bytes) {
    Messages messages;
    for (int b : bytes)
        if (const auto msg = parser.feed(static_cast<uint8_t>(b))) messages.push_back(*msg);
    return messages;
}

TEST(MidiByteParser, StreamsDecodeToTheirMessages) {
    const struct {
        const char* what;
        Bytes bytes;
        Messages messages;
    } cases[] = {
        {"running status", {0x88, 0x05, 0x42, 0x06, 0x17}, {0x00420588, 0x00170688}},
        {"one-data running status", {0xD2, 0x00, 0x05, 0x06}, {0x000000D2, 0x000005D2, 0x000006D2}},
        {"new status replaces",
         {0x80, 0x01, 0x02, 0x03, 0x04, 0xE1, 0x7F, 0x00, 0x10, 0x20},
         {0x00020180, 0x00040380, 0x00007FE1, 0x002010E1}},
        {"real time inside",
         {0xF8, 0x80, 0xF8, 0x12, 0xFE, 0x34, 0xFA, 0x56, 0xFF, 0x78},
         {0x00341280, 0x00785680}},
        {"sysex skipped", {0xF0, 0x01, 0x02, 0x03, 0xF7, 0x80, 0x01, 0x02}, {0x00020180}},
        {"sysex ended by a status", {0xF0, 0x7D, 0x01, 0x90, 0x11, 0x22}, {0x00221190}},
        {"sysex ends running", {0x90, 0x01, 0x02, 0xF0, 0x03, 0xF7, 0x04, 0x05}, {0x00020190}},
        {"stray data", {0x12, 0x34, 0x80, 0x01, 0x02}, {0x00020180}},
        {"message cut by a status", {0x90, 0x01, 0x80, 0x02, 0x03}, {0x00030280}},
        {"lone F7 ends running status", {0x90, 0x01, 0x02, 0xF7, 0x03, 0x04}, {0x00020190}},
        {"common lengths",
         {0xF1, 0x05, 0xF2, 0x01, 0x02, 0xF3, 0x7F, 0x01},
         {0x000005F1, 0x000201F2, 0x00007FF3}},
        {"common ends running", {0x90, 0x01, 0x02, 0xF6, 0x03, 0x04}, {0x00020190, 0x000000F6}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MidiByteParser parser;
        EXPECT_EQ(parse(parser, c.bytes), c.messages);
    }
    MidiByteParser parser;
    parse(parser, {0x90, 0x01});
    parser.reset();
    EXPECT_EQ(parse(parser, {0x02, 0x03}), Messages{});
}

TEST(MidiByteEncoder, SendsEveryMessageWithItsStatusByteAndSevenBitData) {
    const std::pair<uint32_t, Bytes> cases[] = {
        {0x00000588, {0x88, 0x05, 0x00}}, // a read request keeps its data2 0
        {0x000000D2, {0xD2, 0x00}},
        {0x000000F6, {0xF6}},
        {0x00FFFF80, {0x80, 0x7F, 0x7F}},
        {0x00000005, {}}, // nothing for what starts no short message
        {0x000000F8, {}},
    };
    for (const auto& [msg, want] : cases) {
        uint8_t out[3] = {};
        const std::size_t size = encodeShortMessage(msg, out);
        EXPECT_EQ(Bytes(out, out + size), want) << std::hex << msg;
    }
}

} // namespace
