#include "app/Settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// Byte at 1-based position p of record r.
unsigned at(const std::string& file, int record, int p) {
    return static_cast<unsigned char>(
        file.at(static_cast<std::size_t>((record - 1) * 500 + p - 1)));
}

std::string parsedAndWritten(const std::string& file) {
    SettingsData s;
    EXPECT_TRUE(parseSettings(file, s));
    return serializeSettings(s);
}

} // namespace

TEST(SettingsFile, NewFileHasElevenRecordsWithTheTableDefaults) {
    const std::string file = newSettingsFile(SettingsData{});

    std::string expected(5500, '\0');
    expected.replace(0, 8, "ZEPHALON");
    // position: value, from the header table
    const int defaults[][2] = {{21, 99},  {22, 99}, {24, 1},  {25, 1}, {29, 1},
                               {30, 1},   {36, 45}, {38, 9},  {41, 1}, {42, 1},
                               {43, 130}, {44, 72}, {45, 30}, {46, 20}};
    for (const auto& d : defaults)
        expected[static_cast<std::size_t>(d[0] - 1)] = static_cast<char>(d[1]);
    EXPECT_EQ(file, expected);

    SettingsData s;
    ASSERT_TRUE(parseSettings(file, s));
    EXPECT_EQ(s.MIDIOutDevice, 99);
    EXPECT_TRUE(s.StatusBarOn);
    // Window slots never written read as never placed, not as -16000.
    EXPECT_EQ(s.WinRec[1].Top, 0);
    EXPECT_EQ(s.WinRec[43].Left, 0);
    // Records created empty give empty texts, not strings of NULs.
    EXPECT_TRUE(s.RecentDoc[1].Path.empty());
    EXPECT_TRUE(s.LastDocFolder.empty());
}

TEST(SettingsFile, WindowRecordsKeepNegativePositionsAndClamp) {
    SettingsData s;
    s.WinRec[1] = {1200, -500, 9000, 6000, 0, 0, 2, 0};
    s.WinRec[43].Top = 20000;
    s.WinRec[43].Left = -20000;
    const std::string file = serializeSettings(s);
    ASSERT_EQ(file.size(), 7000u);

    // Slot 1 at 70: Top 17200 = 0x4330, Left 15500 = 0x3C8C, 9000 = 0x2328, 6000 = 0x1770.
    const unsigned slot1[] = {0x43, 0x30, 0x3C, 0x8C, 0x23, 0x28, 0x17, 0x70, 2, 0};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(at(file, 1, 70 + i), slot1[i]) << i;
    // Slot 43 at 490: Top 16000 + 16000 = 0x7D00, Left -16000 + 16000 = 0.
    EXPECT_EQ(at(file, 1, 490), 0x7Du);
    EXPECT_EQ(at(file, 1, 491), 0x00u);
    EXPECT_EQ(at(file, 1, 492), 0u);
    EXPECT_EQ(at(file, 1, 493), 0u);

    SettingsData back;
    ASSERT_TRUE(parseSettings(file, back));
    EXPECT_EQ(back.WinRec[1].Left, -500);
    EXPECT_EQ(back.WinRec[1].Top, 1200);
    EXPECT_EQ(back.WinRec[1].Width, 9000);
    EXPECT_EQ(back.WinRec[1].Height, 6000);
    EXPECT_EQ(back.WinRec[1].State, 2);
    EXPECT_EQ(back.WinRec[43].Left, -16000);
    EXPECT_EQ(back.WinRec[43].Top, 16000);
}

TEST(SettingsFile, RecentDocumentLayoutAndPathLimit) {
    SettingsData s;
    const std::string longPath = "C:\\" + std::string(237, 'x'); // 240 characters
    s.RecentDoc[1] = {longPath, 5000, 4000, 100, -300, 2, 1};
    s.RecentDoc[2] = {"C:\\a.crva", 0, 0, 0, 0, 12, 0};
    const std::string file = serializeSettings(s);

    // Record 6: Left 16100 = 0x3EE4, Top 15700 = 0x3D54, SizeB 4000 = 0x0FA0, SizeA 5000 =
    // 0x1388, 243-244 unused, Kind, Flags, then the blank tail of the 250-character field.
    EXPECT_EQ(file.substr(2500, 234), longPath.substr(0, 234));
    const unsigned fields[] = {0x3E, 0xE4, 0x3D, 0x54, 0x0F, 0xA0, 0x13, 0x88,
                               0,    0,    2,    1,    ' ',  ' ',  ' ',  ' '};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(at(file, 6, 235 + i), fields[i]) << i;
    EXPECT_EQ(at(file, 6, 251), 0u);
    EXPECT_EQ(at(file, 7, 10), static_cast<unsigned>(' '));

    SettingsData back;
    ASSERT_TRUE(parseSettings(file, back));
    EXPECT_EQ(back.RecentDoc[1].Path, longPath.substr(0, 234));
    EXPECT_EQ(back.RecentDoc[1].Left, 100);
    EXPECT_EQ(back.RecentDoc[1].Top, -300);
    EXPECT_EQ(back.RecentDoc[1].SizeA, 5000);
    EXPECT_EQ(back.RecentDoc[1].SizeB, 4000);
    EXPECT_EQ(back.RecentDoc[1].Kind, 2);
    EXPECT_EQ(back.RecentDoc[1].Flags, 1);
    // The binary fields after a short path are not part of it.
    EXPECT_EQ(back.RecentDoc[2].Path, "C:\\a.crva");
    EXPECT_EQ(back.RecentDoc[2].Kind, 12);
    EXPECT_TRUE(back.RecentDoc[3].Path.empty());
}

TEST(SettingsFile, FoldersAndRecordTwo) {
    SettingsData s;
    s.Record2 = std::string(90, 'r') + "\r\n";
    s.LastDocFolder = "C:\\Curve";
    s.LastMeasFolder = "D:\\Misure";
    const std::string file = serializeSettings(s);

    EXPECT_EQ(file.substr(500, 92), s.Record2);
    EXPECT_EQ(at(file, 2, 93), 0u);
    EXPECT_EQ(file.substr(1000, 250), "C:\\Curve" + std::string(242, ' '));
    EXPECT_EQ(file.substr(1500, 250), "D:\\Misure" + std::string(241, ' '));
    EXPECT_EQ(file.substr(2000, 250), "D:\\Misure" + std::string(241, ' '));

    SettingsData back;
    ASSERT_TRUE(parseSettings(file, back));
    EXPECT_EQ(back.Record2, s.Record2);
    EXPECT_EQ(back.LastDocFolder, "C:\\Curve");
    EXPECT_EQ(back.LastMeasFolder, "D:\\Misure");
}

TEST(SettingsFile, HeaderFieldsAreWrittenAtTheirPositions) {
    SettingsData s;
    s.MIDIThruOn = true;
    s.MIDIInDevice = 258; // kept as value And 255
    s.MIDIOutDevice = 3;
    s.LangCode = 2;
    s.StatusBarOn = false;
    s.CoilVBatt = 300;    // clamped
    s.ScaleParam2 = -5;   // clamped
    s.LiveDisplay = 1.9f; // integer part
    s.ScaleParam4 = NAN;  // nothing to keep
    s.RotGraphParam = 0x1234;
    s.BatteryTimeDivPos = 7;
    const std::string file = serializeSettings(s);

    EXPECT_EQ(file.substr(0, 8), "ZEPHALON");
    EXPECT_EQ(at(file, 1, 19), 7u);
    EXPECT_EQ(at(file, 1, 20), 1u);
    EXPECT_EQ(at(file, 1, 21), 2u);
    EXPECT_EQ(at(file, 1, 22), 3u);
    EXPECT_EQ(at(file, 1, 24), 2u);
    EXPECT_EQ(at(file, 1, 25), 0u);
    EXPECT_EQ(at(file, 1, 28), 0u);
    EXPECT_EQ(at(file, 1, 29), 1u);
    EXPECT_EQ(at(file, 1, 31), 0u);
    EXPECT_EQ(at(file, 1, 36), 45u); // a header built anew carries the default
    EXPECT_EQ(at(file, 1, 43), 255u);
    EXPECT_EQ(at(file, 1, 47), 0x12u);
    EXPECT_EQ(at(file, 1, 48), 0x34u);

    SettingsData back;
    ASSERT_TRUE(parseSettings(file, back));
    EXPECT_FALSE(back.MIDIThruOn); // thru is not restored at start-up
    EXPECT_FALSE(back.StatusBarOn);
    EXPECT_EQ(back.CoilVBatt, 255.0f);
    EXPECT_EQ(back.RotGraphParam, 0x1234);
}

TEST(SettingsFile, PositionsNotOwnedSurviveARoundTrip) {
    std::string file = newSettingsFile(SettingsData{});
    const int foreign[] = {9, 17, 23, 26, 32, 35, 36, 49, 69, 500};
    for (int p : foreign)
        file[static_cast<std::size_t>(p - 1)] = static_cast<char>(0xA0 + p % 32);

    const std::string written = parsedAndWritten(file);
    for (int p : foreign)
        EXPECT_EQ(at(written, 1, p), 0xA0u + p % 32) << p;
}

TEST(SettingsFile, ShortOrDamagedFileWithSignature) {
    SettingsData s;
    ASSERT_TRUE(parseSettings("ZEPHALON", s));
    EXPECT_EQ(s.MIDIOutDevice, 99);
    EXPECT_EQ(s.RotVScroll2, 9);
    EXPECT_EQ(s.CoilL, 72.0f);
    EXPECT_EQ(s.header.size(), 500u);

    // Cut after position 22: the devices are read, the language keeps its default.
    std::string cut = "ZEPHALON" + std::string(12, '\0') + "\x03\x04";
    ASSERT_TRUE(parseSettings(cut, s));
    EXPECT_EQ(s.MIDIInDevice, 3);
    EXPECT_EQ(s.MIDIOutDevice, 4);
    EXPECT_EQ(s.LangCode, 1);

    // Cut inside the first recent entry, before its binary fields.
    SettingsData full;
    full.RecentDoc[1].Path = "C:\\a\\b.crva";
    full.RecentDoc[1].Left = 700;
    std::string image = serializeSettings(full);
    ASSERT_TRUE(parseSettings(image.substr(0, 2600), s));
    EXPECT_EQ(s.RecentDoc[1].Path, "C:\\a\\b.crva");
    EXPECT_EQ(s.RecentDoc[1].Left, 0);

    // A damaged placement beyond the range comes back clamped.
    image[69] = '\xFF';
    image[70] = '\xFF';
    ASSERT_TRUE(parseSettings(image, s));
    EXPECT_EQ(s.WinRec[1].Top, 16000);

    // Every prefix parses without reading past the end.
    for (std::size_t n = 8; n <= image.size(); n += 7)
        EXPECT_TRUE(parseSettings(image.substr(0, n), s));
}

TEST(SettingsFile, ForeignFileIsRefusedAndLeavesTheTargetAlone) {
    SettingsData s;
    s.MIDIOutDevice = 5;
    EXPECT_FALSE(parseSettings("", s));
    EXPECT_FALSE(parseSettings("ZEPHALO", s));
    EXPECT_FALSE(parseSettings("crva 0" + std::string(600, ' '), s));
    EXPECT_EQ(s.MIDIOutDevice, 5);
}

TEST(SettingsFile, SerialPortsLiveInRecordFifteenAfterWhatOlderReadersRead) {
    SettingsData s;
    s.header = newSettingsFile(s).substr(0, 500);
    const std::string plain = serializeSettings(s);
    EXPECT_EQ(plain.size(), 14u * 500u); // no ports: the file an older program writes

    s.SerialPorts = {"/dev/ttyUSB0", "/dev/pts/3"};
    const std::string withPorts = serializeSettings(s);
    ASSERT_EQ(withPorts.size(), 15u * 500u);
    EXPECT_EQ(withPorts.substr(0, 14 * 500), plain);
    EXPECT_EQ(withPorts.substr(14 * 500, 10), "SERIALMIDI");

    SettingsData back;
    ASSERT_TRUE(parseSettings(withPorts + std::string(500, 'x'), back));
    EXPECT_EQ(back.SerialPorts, s.SerialPorts);
    // A record after 15 that a newer program wrote is carried over unchanged.
    EXPECT_EQ(serializeSettings(back).substr(15 * 500), std::string(500, 'x'));
}
