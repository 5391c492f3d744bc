#include "midi/backends/RtMidiSystem.h"
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

TEST(RtMidiSystem, MessageLengthsFollowTheStatusByte) {
    EXPECT_EQ(RtMidiSystem::messageLength(0x80), 3);
    EXPECT_EQ(RtMidiSystem::messageLength(0x9F), 3);
    EXPECT_EQ(RtMidiSystem::messageLength(0xBF), 3);
    EXPECT_EQ(RtMidiSystem::messageLength(0xC0), 2);
    EXPECT_EQ(RtMidiSystem::messageLength(0xD2), 2);
    EXPECT_EQ(RtMidiSystem::messageLength(0xE0), 3);
    EXPECT_EQ(RtMidiSystem::messageLength(0xF2), 3);
    EXPECT_EQ(RtMidiSystem::messageLength(0xF3), 2);
    EXPECT_EQ(RtMidiSystem::messageLength(0xF8), 1);
    EXPECT_EQ(RtMidiSystem::messageLength(0x7F), 0); // a data byte
    EXPECT_EQ(RtMidiSystem::messageLength(0xF0), 0); // system exclusive
    EXPECT_EQ(RtMidiSystem::messageLength(0xF7), 0);
    EXPECT_EQ(RtMidiSystem::messageLength(0xFD), 0); // undefined
}

TEST(RtMidiSystem, PacksStatusThenDataBytes) {
    const unsigned char noteOn[] = {0x90, 0x3C, 0x64};
    EXPECT_EQ(RtMidiSystem::packMessage(noteOn, 3), 0x00643C90u);
    const unsigned char program[] = {0xC1, 0x05};
    EXPECT_EQ(RtMidiSystem::packMessage(program, 2), 0x000005C1u);
    const unsigned char unitStatus[] = {0xE3, 0x7F, 0x01};
    EXPECT_EQ(RtMidiSystem::packMessage(unitStatus, 3), 0x00017FE3u);
    const unsigned char four[] = {0x90, 1, 2, 3};
    EXPECT_EQ(RtMidiSystem::packMessage(four, 4), 0u);
    EXPECT_EQ(RtMidiSystem::packMessage(four, 0), 0u);
}

TEST(RtMidiSystem, NamesFitTheCapabilityField) {
    EXPECT_EQ(RtMidiSystem::capsName("Midi Through Port-0"), "Midi Through Port-0");
    const std::string exact(31, 'x');
    EXPECT_EQ(RtMidiSystem::capsName(exact), exact);
    EXPECT_EQ(RtMidiSystem::capsName(exact + "yz"), exact);
    // 30 ASCII bytes, then "é" (C3 A9) across the cut: the whole character goes.
    const std::string thirty(30, 'a');
    EXPECT_EQ(RtMidiSystem::capsName(thirty + "\xC3\xA9" + "b"), thirty);
    // 29 ASCII bytes, then "é" ends exactly at byte 31 and stays.
    const std::string twentyNine(29, 'a');
    EXPECT_EQ(RtMidiSystem::capsName(twentyNine + "\xC3\xA9" + "b"), twentyNine + "\xC3\xA9");
}

TEST(RtMidiSystem, EveryCallAnswersWithACode) {
    RtMidiSystem system;
    const bool noSequencer = !std::filesystem::exists("/dev/snd/seq");
    if (noSequencer) {
        EXPECT_EQ(system.outCount(), 0);
        EXPECT_EQ(system.inCount(), 0);
    }
    MidiCaps caps;
    EXPECT_EQ(system.outCaps(system.outCount(), caps), mmr::BadDeviceId);
    EXPECT_EQ(system.inCaps(-1, caps), mmr::BadDeviceId);
    uint32_t handle = 0;
    EXPECT_EQ(system.outOpen(system.outCount(), handle), mmr::BadDeviceId);
    EXPECT_EQ(system.inOpen(system.inCount(), handle, nullptr, nullptr), mmr::BadDeviceId);
    EXPECT_EQ(system.outOpen(-1, handle), mmr::BadDeviceId);
    EXPECT_EQ(system.outClose(1), mmr::InvalidHandle);
    EXPECT_EQ(system.outShortMsg(1, 0x90), mmr::InvalidHandle);
    EXPECT_EQ(system.inClose(1), mmr::InvalidHandle);
    EXPECT_EQ(system.inStart(1), mmr::InvalidHandle);
    EXPECT_EQ(system.inStop(1), mmr::InvalidHandle);
    EXPECT_EQ(system.connect(1, 2), mmr::InvalidHandle);
    EXPECT_EQ(system.disconnect(1, 2), mmr::InvalidHandle);
    system.notReadyPause();
}

TEST(RtMidiSystem, SeveralInstancesComeAndGo) {
    for (int i = 0; i < 3; ++i) {
        RtMidiSystem system("ZEPHALON test");
        EXPECT_GE(system.outCount(), 0);
    }
}

} // namespace
