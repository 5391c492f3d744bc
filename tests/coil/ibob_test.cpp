#include "base/Settings.h"
#include "coil/CoilDocument.h"
#include "coil/IbobFile.h"
#include <gtest/gtest.h>
#include <string>
#include <tuple>

using namespace base;
using namespace coil;
using namespace std::string_literals;

namespace {
// The file a new program of window 12 writes: magic, its record's positions 1..10
// (window 12, modified 1, untitled 1), then 261..283: dwell 0 5 8 9 10 11, L 50, R 30,
// +R 20, VR 1000 = 3 * 256 + 232, V Batt 120, eleven zeros.
const std::string kNewProgramFile = "ZEPHALON132"s + "\x0c\0\0\x01\0\0\x01\0\0\0"s +
                                    "\x00\x05\x08\x09\x0a\x0b\x32\x1e\x14\x03\xe8\x78"s +
                                    std::string(11, '\0');

std::string withByte(std::string file, std::size_t offset, int value) {
    file.replace(offset, 1, 1, static_cast<char>(value));
    return file;
}
} // namespace

TEST(CoilDocument, NewEmptyAndLongPathRecordsAndCaption) {
    const DocImage doc = newProgram(12, "/data/coils", '/');
    const std::string& b = doc.bytes();
    ASSERT_EQ(b.size(), 283u);
    const std::string path = "/data/coils/NuovoFile.ibob";
    EXPECT_EQ(b.substr(10, 250), path + std::string(250 - path.size(), ' '));
    EXPECT_EQ(doc.path(), path);
    EXPECT_TRUE(doc.modified());
    EXPECT_TRUE(doc.untitled());
    EXPECT_EQ(captionFor(doc.path()), "Programmazione Impulso Bobina - NuovoFile.ibob");
    EXPECT_EQ(captionFor("C:\\Prog\\coil 2.ibob"), "Programmazione Impulso Bobina - coil 2.ibob");

    // An empty record: ten zeros, 250 blanks, 23 zeros; a longer path stays whole beside it.
    DocImage empty;
    EXPECT_EQ(empty.bytes(), std::string(10, '\0') + std::string(250, ' ') + std::string(23, '\0'));
    const std::string longPath = "/" + std::string(300, 'a') + "/x.ibob";
    empty.setPath(longPath);
    EXPECT_EQ(empty.path(), longPath);
    EXPECT_EQ(empty.bytes().size(), 283u);
    EXPECT_EQ(empty.bytes().substr(10, 250), longPath.substr(0, 250));
}

TEST(IbobFile, WritesTheRecordByteExact) {
    const DocImage doc = newProgram(12, "/d", '/');
    EXPECT_EQ(serializeIbob(doc), kNewProgramFile);

    DocImage saved = doc;
    saved.setWindowNumber(21);
    saved.setModified(false);
    saved.setUntitled(false);
    saved.setDwell(5, 15);
    saved.setL(255);
    saved.setVR(8000);
    saved.setVBatt(150);
    const std::string file = serializeIbob(saved);
    ASSERT_EQ(file.size(), 44u);
    EXPECT_EQ(file.substr(11, 10), "\x15\0\0\0\0\0\0\0\0\0"s);
    EXPECT_EQ(file.substr(21, 12), "\x00\x05\x08\x09\x0a\x0f\xff\x1e\x14\x1f\x40\x96"s);
}

// Read (what follows the record ignored), opened and written back, the record keeps every
// byte it was read with, the header's unused bytes and the eleven after V Batt included; only
// the window number and the two flags are the new window's.
TEST(IbobFile, ReadOpenedAndWrittenBackKeepsEveryByte) {
    const std::string file = "ZEPHALON132"s + "\x0c\x21\x22\x01\x23\x24\x01\x25\x26\x27"s +
                             "\x00\x05\x08\x09\x0a\x0b\x32\x1e\x14\x03\xe8\x78"s +
                             "\x41\x42\x43\x44\x45\x46\x47\x48\x49\x4a\xff"s;
    const IbobRead r = parseIbob(file + "trailing bytes of a longer file");
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.values, CoilValues{});
    const DocImage opened = openedProgram(r, 14, "/x/y.ibob");
    EXPECT_EQ(opened.windowNumber(), 14);
    EXPECT_FALSE(opened.modified() || opened.untitled());
    EXPECT_EQ(opened.path(), "/x/y.ibob");
    EXPECT_EQ(opened.values(), r.values);
    EXPECT_EQ(opened.bytes().substr(272), "\x41\x42\x43\x44\x45\x46\x47\x48\x49\x4a\xff"s);
    std::string expected = file;
    expected.replace(11, 10, "\x0e\x21\x22\x00\x23\x24\x00\x25\x26\x27"s);
    EXPECT_EQ(serializeIbob(opened), expected);
}

TEST(IbobFile, EveryRangeLimitIsReadAndWhatIsNoCoilProgramRefused) {
    const std::string settingsFile = newSettingsFile(SettingsData{});
    ASSERT_EQ(settingsFile.substr(0, 8), "ZEPHALON");
    const std::string& k = kNewProgramFile;
    const std::tuple<const char*, std::string, int> cases[] = {
        {"empty", "", 1},
        {"43 bytes", k.substr(0, 43), 1},
        {"signature ZEPHALON133", withByte(k, 10, '3'), 1},
        {"signature zEPHALON132", withByte(k, 0, 'z'), 1},
        {"the settings file", settingsFile, 1},
        {"dwell index 15", withByte(k, 21, 15), 0},
        {"dwell index 16", withByte(k, 26, 16), 1},
        {"L 255", withByte(k, 27, 255), 0},
        {"L 0", withByte(k, 27, 0), 1},
        {"R 1", withByte(k, 28, 1), 0},
        {"R 0", withByte(k, 28, 0), 1},
        {"+R 100", withByte(k, 29, 100), 0},
        {"+R 101", withByte(k, 29, 101), 1},
        {"VR 1", withByte(withByte(k, 30, 0), 31, 1), 0},
        {"VR 0", withByte(withByte(k, 30, 0), 31, 0), 1},
        {"VR 8000", withByte(withByte(k, 30, 31), 31, 64), 0},
        {"VR 8001", withByte(withByte(k, 30, 31), 31, 65), 1},
        {"V Batt 150", withByte(k, 32, 150), 0},
        {"V Batt 151", withByte(k, 32, 151), 1},
    };
    for (const auto& [what, file, code] : cases)
        EXPECT_EQ(parseIbob(file).code, code) << what;
    const IbobRead top = parseIbob(withByte(withByte(k, 30, 31), 31, 64));
    EXPECT_EQ(top.values.VR, 8000);
}
