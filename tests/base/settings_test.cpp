#include "base/Settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

using namespace base;

namespace {

using Bytes = std::vector<unsigned>;

// n bytes from 1-based position p of record r.
Bytes bytes(const std::string& file, int record, int p, int n = 1) {
    Bytes out;
    for (int i = 0; i < n; ++i)
        out.push_back(static_cast<unsigned char>(
            file.at(static_cast<std::size_t>((record - 1) * 500 + p - 1 + i))));
    return out;
}

} // namespace

TEST(SettingsFile, NewFileHasElevenRecordsOfDefaultsForeignOnesAreRefusedShortOnesRead) {
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
    // Window slots never written read as never placed, not as -16000.
    EXPECT_EQ(s.WinRec[43].Left, 0);
    // Records created empty give empty texts, not strings of NULs.
    EXPECT_TRUE(s.RecentDoc[1].Path.empty());
    EXPECT_TRUE(s.LastDocFolder.empty());

    // A foreign file is refused, a short or damaged one with the signature is read.
    s.MIDIOutDevice = 5;
    EXPECT_FALSE(parseSettings("", s));
    EXPECT_FALSE(parseSettings("ZEPHALO", s));
    EXPECT_FALSE(parseSettings("crva 0" + std::string(600, ' '), s));
    EXPECT_EQ(s.MIDIOutDevice, 5); // the target is left alone

    ASSERT_TRUE(parseSettings("ZEPHALON", s));
    EXPECT_EQ(s.MIDIOutDevice, 99);
    EXPECT_EQ(s.header.size(), 500u);

    // Cut after position 22: the devices are read, the language keeps its default.
    ASSERT_TRUE(parseSettings("ZEPHALON" + std::string(12, '\0') + "\x03\x04", s));
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

// Every field written at its position and read back: window records keep negative places and
// clamp, a recent path is cut to its field, header fields are clamped or cut to a byte.
TEST(SettingsFile, FieldsStandAtTheirPositionsAndReadBack) {
    SettingsData s;
    s.WinRec[1] = {1200, -500, 9000, 6000, 0, 0, 2, 0};
    s.WinRec[43].Top = 20000;
    s.WinRec[43].Left = -20000;
    const std::string longPath = "C:\\" + std::string(237, 'x'); // 240 characters
    s.RecentDoc[1] = {longPath, 5000, 4000, 100, -300, 2, 1};
    s.MIDIThruOn = true;
    s.MIDIInDevice = 258; // kept as value And 255
    s.CoilVBatt = 300;    // clamped
    s.ScaleParam2 = -5;   // clamped
    s.LiveDisplay = 1.9f; // integer part
    s.ScaleParam4 = NAN;  // nothing to keep
    s.RotGraphParam = 0x1234;
    s.BatteryTimeDivPos = 7;
    s.Record2 = std::string(90, 'r') + "\r\n";
    s.LastDocFolder = "C:\\Curve";
    s.LastMeasFolder = "D:\\Misure";
    const std::string file = serializeSettings(s);
    ASSERT_EQ(file.size(), 7000u);

    // Slot 1 at 70: Top 17200 = 0x4330, Left 15500 = 0x3C8C, 9000 = 0x2328, 6000 = 0x1770.
    EXPECT_EQ(bytes(file, 1, 70, 10),
              (Bytes{0x43, 0x30, 0x3C, 0x8C, 0x23, 0x28, 0x17, 0x70, 2, 0}));
    // Slot 43 at 490: Top 16000 + 16000 = 0x7D00, Left -16000 + 16000 = 0.
    EXPECT_EQ(bytes(file, 1, 490, 4), (Bytes{0x7D, 0, 0, 0}));
    // Record 6: Left 16100 = 0x3EE4, Top 15700 = 0x3D54, SizeB 4000 = 0x0FA0, SizeA 5000 =
    // 0x1388, 243-244 unused, Kind, Flags, then the blank tail of the 250-character field.
    EXPECT_EQ(file.substr(2500, 234), longPath.substr(0, 234));
    EXPECT_EQ(bytes(file, 6, 235, 17), (Bytes{0x3E, 0xE4, 0x3D, 0x54, 0x0F, 0xA0, 0x13, 0x88, 0, 0,
                                              2, 1, ' ', ' ', ' ', ' ', 0}));
    // position: value; 36 is the default a header built anew carries
    const int fields[][2] = {{19, 7}, {20, 1},  {21, 2},   {28, 0},    {29, 1},
                             {31, 0}, {36, 45}, {43, 255}, {47, 0x12}, {48, 0x34}};
    for (const auto& f : fields)
        EXPECT_EQ(bytes(file, 1, f[0]), Bytes{static_cast<unsigned>(f[1])}) << f[0];
    EXPECT_EQ(file.substr(500, 93), s.Record2 + '\0');
    EXPECT_EQ(file.substr(1000, 250), "C:\\Curve" + std::string(242, ' '));
    // The measurement folder fills records 4 and 5.
    EXPECT_EQ(file.substr(1500, 250), "D:\\Misure" + std::string(241, ' '));
    EXPECT_EQ(file.substr(2000, 250), file.substr(1500, 250));

    SettingsData back;
    ASSERT_TRUE(parseSettings(file, back));
    const WindowRecord& w = back.WinRec[1];
    EXPECT_EQ(std::tuple(w.Top, w.Left, w.Width, w.Height, w.State),
              std::tuple(1200, -500, 9000, 6000, 2));
    EXPECT_EQ(std::tuple(back.WinRec[43].Top, back.WinRec[43].Left), std::tuple(16000, -16000));
    const RecentDocument& d = back.RecentDoc[1];
    EXPECT_EQ(d.Path, longPath.substr(0, 234));
    EXPECT_EQ(std::tuple(d.Left, d.Top, d.SizeA, d.SizeB, d.Kind, d.Flags),
              std::tuple(100, -300, 5000, 4000, 2, 1));
    EXPECT_TRUE(back.RecentDoc[3].Path.empty());
    EXPECT_EQ(back.Record2, s.Record2);
    EXPECT_EQ(back.LastMeasFolder, "D:\\Misure");
}

// Folders and recent paths are held as UTF-8 and stored one byte per letter (Latin-1); a
// path with a letter Latin-1 lacks is not stored, and the entries after it move up.
TEST(SettingsFile, PathsAreStoredAsLatin1AndReadBackAsUtf8) {
    SettingsData s;
    s.LastDocFolder = "/home/anna/Perù";    // "ù" is C3 B9 in UTF-8, F9 in Latin-1
    s.LastMeasFolder = "/home/anna/\u03a9"; // Omega: no Latin-1 letter
    s.RecentDoc[1] = {"/dati/\u03a9.crva", 0, 0, 0, 0, 2, 0};
    s.RecentDoc[2] = {"/dati/caff\u00e8.mrot", 0, 0, 0, 0, 33, 0};
    const std::string file = serializeSettings(s);

    EXPECT_EQ(file.substr(1000, 16), "/home/anna/Per\xF9 ");
    EXPECT_EQ(file.substr(1500, 250), std::string(250, ' '));
    EXPECT_EQ(file.substr(2500, 17), "/dati/caff\xE8.mrot ");
    EXPECT_EQ(bytes(file, 6, 245), Bytes{33});

    SettingsData back;
    ASSERT_TRUE(parseSettings(file, back));
    EXPECT_EQ(back.LastDocFolder, s.LastDocFolder);
    EXPECT_EQ(back.LastMeasFolder, "");
    EXPECT_EQ(back.RecentDoc[1].Path, s.RecentDoc[2].Path);
    EXPECT_EQ(back.RecentDoc[2].Path, "");
}

TEST(SettingsFile, EveryHeaderFieldIsReadFromItsOwnPositionOthersSurviveARoundTrip) {
    // Positions 18-48 each hold 100 + their position, so a field read from a neighbour
    // shows the wrong number; 25 holds 1 (shown) between neighbours that are not 1.
    std::string file = newSettingsFile(SettingsData{});
    for (int p = 18; p <= 48; ++p)
        file[static_cast<std::size_t>(p - 1)] = static_cast<char>(100 + p);
    file[24] = 1;
    // Window slot 5 at position 110: bytes 0x40-0x49.
    for (int i = 0; i < 10; ++i)
        file[static_cast<std::size_t>(109 + i)] = static_cast<char>(0x40 + i);
    const int foreign[] = {9, 17, 23, 26, 32, 35, 36, 49, 69, 500}; // 36: kept as read
    for (int p : {9, 17, 49, 69, 500})
        file[static_cast<std::size_t>(p - 1)] = static_cast<char>(0xA0 + p % 32);

    SettingsData s;
    s.StatusBarOn = false;
    ASSERT_TRUE(parseSettings(file, s));
    EXPECT_FALSE(s.MIDIThruOn); // 120 is written at exit only
    EXPECT_TRUE(s.StatusBarOn);
    const std::pair<int, double> fields[] = {
        {18, s.BatteryMode}, {19, s.BatteryTimeDivPos}, {21, s.MIDIInDevice}, {22, s.MIDIOutDevice},
        {24, s.LangCode},    {27, s.Param27},           {28, s.ScaleParam2},  {29, s.LiveDisplay},
        {30, s.ScaleParam3}, {31, s.ScaleParam4},       {36, s.Param36},      {37, s.RotVScroll1},
        {38, s.RotVScroll2}, {39, s.RotVScroll3},       {40, s.RotVScroll4},  {41, s.RotTimeDivPos},
        {42, s.Param42},     {43, s.CoilVBatt},         {44, s.CoilL},        {45, s.CoilR},
        {46, s.CoilRPlus}};
    for (const auto& [position, value] : fields)
        EXPECT_EQ(value, 100 + position) << position;
    EXPECT_EQ(s.RotGraphParam, 147 * 256 + 148);
    // Top 0x4041 - 16000 = 449, Left 0x4243 - 16000 = 963, Width 0x4445, Height 0x4647,
    // State 0x48.
    const WindowRecord& w = s.WinRec[5];
    EXPECT_EQ(std::tuple(w.Top, w.Left, w.Width, w.Height, w.State),
              std::tuple(449, 963, 0x4445, 0x4647, 0x48));
    // Positions no field owns survive a round trip.
    const std::string written = serializeSettings(s);
    for (int p : foreign)
        EXPECT_EQ(written[static_cast<std::size_t>(p - 1)], file[static_cast<std::size_t>(p - 1)])
            << p;
}

// Where the ports stand and how they read back is checked through the settings store.
TEST(SettingsFile, SerialPortsLeaveWhatOlderReadersReadAndARecordAfterThemIsCarriedOver) {
    SettingsData s;
    s.header = newSettingsFile(s).substr(0, 500);
    s.SerialPorts = {"/dev/ttyUSB0", "/dev/pts/3"};
    const std::string withPorts = serializeSettings(s);
    s.SerialPorts.clear();
    EXPECT_EQ(withPorts.substr(0, 14 * 500), serializeSettings(s)); // as an older program writes

    // A record after 15 that a newer program wrote is carried over unchanged, also when no
    // serial port is kept any more.
    SettingsData back;
    ASSERT_TRUE(parseSettings(withPorts + std::string(500, 'x'), back));
    EXPECT_EQ(serializeSettings(back).substr(15 * 500), std::string(500, 'x'));
    back.SerialPorts.clear();
    const std::string noPorts = serializeSettings(back);
    ASSERT_EQ(noPorts.size(), 16u * 500u);
    EXPECT_EQ(noPorts.substr(14 * 500, 11), std::string("SERIALMIDI") + '\0');
    EXPECT_EQ(noPorts.substr(15 * 500), std::string(500, 'x'));
}
