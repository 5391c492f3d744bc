#include "midi/MidiByteParser.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <vector>

namespace {

std::vector<uint32_t> parse(MidiByteParser& parser, std::initializer_list<int> bytes) {
    std::vector<uint32_t> messages;
    for (int b : bytes)
        if (const auto msg = parser.feed(static_cast<uint8_t>(b))) messages.push_back(*msg);
    return messages;
}

std::vector<uint32_t> parse(std::initializer_list<int> bytes) {
    MidiByteParser parser;
    return parse(parser, bytes);
}

using Messages = std::vector<uint32_t>;

TEST(MidiByteParser, RunningStatusRepeatsTheLastChannelStatus) {
    // Two read answers of the right module, the second without its status byte.
    EXPECT_EQ(parse({0x88, 0x05, 0x42, 0x06, 0x17}), (Messages{0x00420588, 0x00170688}));
    // One-data messages (the unit's mode answers) run on one byte at a time.
    EXPECT_EQ(parse({0xD2, 0x00, 0x05, 0x06}), (Messages{0x000000D2, 0x000005D2, 0x000006D2}));
    EXPECT_EQ(parse({0xC3, 0x7F}), (Messages{0x00007FC3}));
    // A new status replaces the running one.
    EXPECT_EQ(parse({0x80, 0x01, 0x02, 0x03, 0x04, 0xE1, 0x7F, 0x00, 0x10, 0x20}),
              (Messages{0x00020180, 0x00040380, 0x00007FE1, 0x002010E1}));
}

TEST(MidiByteParser, RealTimeBytesFallBetweenTheBytesOfAMessage) {
    EXPECT_EQ(parse({0xF8, 0x80, 0xF8, 0x12, 0xFE, 0x34, 0xFA, 0x56, 0xFF, 0x78}),
              (Messages{0x00341280, 0x00785680}));
    EXPECT_EQ(parse({0xD0, 0xFC, 0x00}), (Messages{0x000000D0}));
    // Alone they give nothing, and they leave running status in place.
    EXPECT_EQ(parse({0xF8, 0xF9, 0xFB, 0xFD, 0xFE, 0xFF}), Messages{});
    MidiByteParser parser;
    parse(parser, {0x90, 0x3C});
    EXPECT_EQ(parser.status(), 0x90);
    EXPECT_EQ(parser.received(), 1);
    parse(parser, {0xF8});
    EXPECT_EQ(parser.received(), 1);
}

TEST(MidiByteParser, SystemExclusiveIsSkipped) {
    EXPECT_EQ(parse({0xF0, 0x01, 0x02, 0x03, 0xF7, 0x80, 0x01, 0x02}), (Messages{0x00020180}));
    // Ended by the next status byte, which starts its own message.
    EXPECT_EQ(parse({0xF0, 0x7D, 0x01, 0x90, 0x11, 0x22}), (Messages{0x00221190}));
    // Real time inside it changes nothing.
    EXPECT_EQ(parse({0xF0, 0x01, 0xF8, 0x02, 0xF7}), Messages{});
    // It ends running status: the data after it belong to nothing.
    EXPECT_EQ(parse({0x90, 0x01, 0x02, 0xF0, 0x03, 0xF7, 0x04, 0x05}), (Messages{0x00020190}));
    // It abandons a message in progress.
    EXPECT_EQ(parse({0x90, 0x01, 0xF0, 0x02, 0x03, 0xF7}), Messages{});
    MidiByteParser parser;
    parse(parser, {0xF0, 0x01});
    EXPECT_TRUE(parser.inSysex());
    parse(parser, {0xF7});
    EXPECT_FALSE(parser.inSysex());
    EXPECT_EQ(parser.status(), 0);
}

TEST(MidiByteParser, StrayAndCutMessagesAreDropped) {
    // Data with no status before it.
    EXPECT_EQ(parse({0x12, 0x34, 0x80, 0x01, 0x02}), (Messages{0x00020180}));
    // A message cut short by the next status byte.
    EXPECT_EQ(parse({0x90, 0x01, 0x80, 0x02, 0x03}), (Messages{0x00030280}));
    EXPECT_EQ(parse({0xB0, 0xA0, 0x05, 0x06}), (Messages{0x000605A0}));
    // A lone end of exclusive and the undefined codes end running status.
    EXPECT_EQ(parse({0x90, 0x01, 0x02, 0xF7, 0x03, 0x04}), (Messages{0x00020190}));
    EXPECT_EQ(parse({0x90, 0x01, 0x02, 0xF4, 0x03, 0x04, 0xF5, 0x05}), (Messages{0x00020190}));

    MidiByteParser parser;
    parse(parser, {0x90, 0x01});
    parser.reset();
    EXPECT_EQ(parse(parser, {0x02, 0x03}), Messages{});
}

TEST(MidiByteParser, SystemCommonMessagesTakeTheirOwnLengthAndEndRunningStatus) {
    EXPECT_EQ(parse({0xF1, 0x05}), (Messages{0x000005F1}));
    EXPECT_EQ(parse({0xF2, 0x01, 0x02, 0x03, 0x04}), (Messages{0x000201F2}));
    EXPECT_EQ(parse({0xF3, 0x7F, 0x01}), (Messages{0x00007FF3}));
    EXPECT_EQ(parse({0xF6, 0x01}), (Messages{0x000000F6}));
    EXPECT_EQ(parse({0x90, 0x01, 0x02, 0xF6, 0x03, 0x04}), (Messages{0x00020190, 0x000000F6}));
}

TEST(MidiByteEncoder, SendsEveryMessageWithItsStatusByte) {
    uint8_t out[3] = {};
    // Writing 0xC8 to address 200 of the right module: status 0x83, data 72 and 72.
    ASSERT_EQ(encodeShortMessage(0x00484883, out), 3u);
    EXPECT_EQ(out[0], 0x83);
    EXPECT_EQ(out[1], 72);
    EXPECT_EQ(out[2], 72);
    // A read request (data2 0) still goes out with all three bytes.
    ASSERT_EQ(encodeShortMessage(0x00000588, out), 3u);
    EXPECT_EQ(out[2], 0x00);
    // A mode command is a bare status with one data byte 0.
    ASSERT_EQ(encodeShortMessage(0x000000D2, out), 2u);
    EXPECT_EQ(out[0], 0xD2);
    EXPECT_EQ(out[1], 0x00);
    ASSERT_EQ(encodeShortMessage(0x000000F6, out), 1u);
    // Data bytes never carry a status bit onto the line.
    ASSERT_EQ(encodeShortMessage(0x00FFFF80, out), 3u);
    EXPECT_EQ(out[1], 0x7F);
    EXPECT_EQ(out[2], 0x7F);
    // Nothing to send for what starts no short message.
    EXPECT_EQ(encodeShortMessage(0x00000005, out), 0u);
    EXPECT_EQ(encodeShortMessage(0x000000F0, out), 0u);
    EXPECT_EQ(encodeShortMessage(0x000000F8, out), 0u);
}

TEST(MidiByteEncoder, EncodedMessagesParseBackOneByOne) {
    MidiByteParser parser;
    Messages got;
    const Messages sent{0x00000588, 0x00000688, 0x00484883, 0x000000D1, 0x000000D0, 0x00017FE0};
    for (uint32_t msg : sent) {
        uint8_t out[3] = {};
        const std::size_t size = encodeShortMessage(msg, out);
        for (std::size_t i = 0; i < size; ++i)
            if (const auto m = parser.feed(out[i])) got.push_back(*m);
    }
    EXPECT_EQ(got, sent);
}

} // namespace
