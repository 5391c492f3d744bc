#include "base/SerialPortList.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace base;

namespace {

using Paths = std::vector<std::string>;

std::string padded(const std::string& path) {
    return path + std::string(60 - path.size(), ' ');
}

TEST(SerialPortRecord, LaidOutWithSignatureCountAndPaddedPathsMissingOrDamagedOnesReadEmpty) {
    const std::string record = serializeSerialPortRecord({"/dev/ttyUSB0", "/dev/pts/3"});
    EXPECT_EQ(record, "SERIALMIDI\x02" + padded("/dev/ttyUSB0") + padded("/dev/pts/3") +
                          std::string(369, ' '));
    EXPECT_EQ(parseSerialPortRecord(record), (Paths{"/dev/ttyUSB0", "/dev/pts/3"}));
    const std::string none = serializeSerialPortRecord({});
    EXPECT_EQ(none[10], '\0');
    EXPECT_TRUE(parseSerialPortRecord(none).empty());

    // Missing, foreign or damaged records.
    EXPECT_TRUE(parseSerialPortRecord("").empty());
    EXPECT_TRUE(parseSerialPortRecord("SERIALMIDI").empty());
    EXPECT_TRUE(parseSerialPortRecord("ZEPHALON" + std::string(492, '\0')).empty());
    std::string tooMany = serializeSerialPortRecord({"/dev/a"});
    tooMany[10] = '\x09';
    EXPECT_TRUE(parseSerialPortRecord(tooMany).empty());
    // A record cut short is checked through the settings store, at each boundary.
    // A blank field, NUL padding, a control character.
    EXPECT_EQ(parseSerialPortRecord("SERIALMIDI\x03" + std::string(60, ' ') + "/dev/x" +
                                    std::string(54, '\0') + padded("/dev/\ty")),
              (Paths{"/dev/x"}));
}

TEST(SerialPortRecord, LineSpeedsFollowTheirPathsFromPosition492) {
    // The invalid first path is left out, so the second port's 31250 lands at position 493.
    const std::string record =
        serializeSerialPortRecord({"", "/dev/a", "/dev/b", "/dev/c"}, {31250, 38400, 31250, 12345});
    EXPECT_EQ(record.substr(491), " M       ");
    EXPECT_EQ(parseSerialPortBauds(record), (std::vector<int>{38400, 31250, 38400}));
    // A record written before speeds were kept: blanks, every port at 38400.
    EXPECT_EQ(parseSerialPortBauds(serializeSerialPortRecord({"/dev/a"})), std::vector<int>{38400});
}

TEST(SerialPortRecord, KeepsOnlyPathsThatReadBackTheSame) {
    const std::string longest(60, 'x');
    // Four that cannot stand in a field, a repeated one, eight good ones and one too many.
    Paths given{"", std::string(61, 'y'), "/dev/tty\n1", "/dev/ttyS0 "};
    for (const char* name : {"a", "a", "b", "c", "d", "e", "f", "g"})
        given.push_back(std::string("/dev/") + name);
    given.push_back(longest);
    given.push_back("/dev/h");
    const std::string record = serializeSerialPortRecord(given);
    EXPECT_EQ(record[10], '\x08');
    // The eighth path fills positions 432-491; the ninth valid one is dropped.
    EXPECT_EQ(record.substr(431), longest + std::string(9, ' '));
    EXPECT_EQ(parseSerialPortRecord(record), (Paths{"/dev/a", "/dev/b", "/dev/c", "/dev/d",
                                                    "/dev/e", "/dev/f", "/dev/g", longest}));
    EXPECT_TRUE(serialPortPathValid(" /dev/lead-blank"));
    EXPECT_FALSE(serialPortPathValid(std::string("/dev/a\0b", 8)));
}

TEST(SerialPortRecord, DeviceNamesComeFromThePath) {
    const std::pair<std::string, std::string> cases[] = {
        {"/dev/ttyUSB0", "ttyUSB0"},
        {"/dev/pts/3", "pts/3"},
        {"pts/12", "pts/12"},
        {"/dev/ttyACM0/", "ttyACM0"},
        {"ttyS1", "ttyS1"},
        {"/dev/serial/by-id/usb-Bridge_0123456789abcdef-if00", "usb-Bridge_0123456789abcdef-if0"},
        // A cut never ends inside a two-byte character.
        {"/x/" + std::string(30, 'a') + "\xC3\xA9", std::string(30, 'a')},
    };
    for (const auto& [path, name] : cases)
        EXPECT_EQ(serialDeviceName(path), name) << path;
}

} // namespace
