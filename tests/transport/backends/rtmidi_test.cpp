#include "transport/backends/RtMidiSystem.h"
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

using namespace transport;

namespace {

TEST(RtMidiSystem, MessageLengthsPackingAndNamesCutTo31BytesOnACharacterBoundary) {
    const std::pair<int, int> lengths[] = {{0x80, 3}, {0xBF, 3}, {0xC0, 2}, {0xD2, 2},
                                           {0xE0, 3}, {0xF2, 3}, {0xF3, 2}, {0xF8, 1},
                                           {0x7F, 0}, {0xF0, 0}, {0xF7, 0}, {0xFD, 0}};
    for (const auto& [status, length] : lengths)
        EXPECT_EQ(RtMidiSystem::messageLength(static_cast<uint8_t>(status)), length) << status;

    const unsigned char noteOn[] = {0x90, 0x3C, 0x64, 0x01};
    EXPECT_EQ(RtMidiSystem::packMessage(noteOn, 3), 0x00643C90u);
    EXPECT_EQ(RtMidiSystem::packMessage(noteOn, 4), 0u);
    EXPECT_EQ(RtMidiSystem::packMessage(noteOn, 0), 0u);
    const unsigned char program[] = {0xC1, 0x05};
    EXPECT_EQ(RtMidiSystem::packMessage(program, 2), 0x000005C1u);

    // Names are cut to 31 bytes on a character boundary.
    const std::string exact(31, 'x');
    EXPECT_EQ(RtMidiSystem::capsName(exact + "yz"), exact);
    // "é" (C3 A9) across the cut goes whole; ending exactly at byte 31 it stays.
    EXPECT_EQ(RtMidiSystem::capsName(std::string(30, 'a') + "\xC3\xA9" + "b"),
              std::string(30, 'a'));
    EXPECT_EQ(RtMidiSystem::capsName(std::string(29, 'a') + "\xC3\xA9" + "b"),
              std::string(29, 'a') + "\xC3\xA9");
}

TEST(RtMidiSystem, EveryCallAnswersWithACode) {
    RtMidiSystem system;
    if (!std::filesystem::exists("/dev/snd/seq")) {
        EXPECT_EQ(system.outCount(), 0);
        EXPECT_EQ(system.inCount(), 0);
    }
    MidiCaps caps;
    uint32_t handle = 0;
    for (int result : {system.outCaps(system.outCount(), caps), system.inCaps(-1, caps),
                       system.outOpen(system.outCount(), handle), system.outOpen(-1, handle),
                       system.inOpen(system.inCount(), handle, nullptr, nullptr)})
        EXPECT_EQ(result, MidiBadDeviceId);
    for (int result :
         {system.outClose(1), system.outShortMsg(1, 0x90), system.inClose(1), system.inStart(1),
          system.inStop(1), system.connect(1, 2), system.disconnect(1, 2)})
        EXPECT_EQ(result, MidiInvalidHandle);
}

} // namespace
