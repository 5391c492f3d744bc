#include "midi/SerialPortList.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Paths = std::vector<std::string>;

std::string padded(const std::string& path) {
    return path + std::string(60 - path.size(), ' ');
}

TEST(SerialPortRecord, LaysOutSignatureCountAndBlankPaddedPaths) {
    const std::string record = serializeSerialPortRecord({"/dev/ttyUSB0", "/dev/pts/3"});
    ASSERT_EQ(record.size(), 500u);
    EXPECT_EQ(record.substr(0, 10), "SERIALMIDI");
    EXPECT_EQ(record[10], '\x02');
    EXPECT_EQ(record.substr(11, 60), padded("/dev/ttyUSB0")); // positions 12-71
    EXPECT_EQ(record.substr(71, 60), padded("/dev/pts/3"));   // positions 72-131
    EXPECT_EQ(record.substr(131), std::string(369, ' '));

    EXPECT_EQ(parseSerialPortRecord(record), (Paths{"/dev/ttyUSB0", "/dev/pts/3"}));
    const std::string none = serializeSerialPortRecord({});
    EXPECT_EQ(none[10], '\0');
    EXPECT_TRUE(parseSerialPortRecord(none).empty());
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
    EXPECT_EQ(record.substr(431, 60), longest);
    EXPECT_EQ(record.substr(491), std::string(9, ' '));
    EXPECT_EQ(parseSerialPortRecord(record), (Paths{"/dev/a", "/dev/b", "/dev/c", "/dev/d",
                                                    "/dev/e", "/dev/f", "/dev/g", longest}));

    EXPECT_TRUE(serialPortPathValid(" /dev/lead-blank"));
    EXPECT_FALSE(serialPortPathValid("/dev/ttyS0 "));
    EXPECT_FALSE(serialPortPathValid(std::string("/dev/a\0b", 8)));
}

TEST(SerialPortRecord, MissingOrForeignRecordsGiveNoPaths) {
    EXPECT_TRUE(parseSerialPortRecord("").empty());
    EXPECT_TRUE(parseSerialPortRecord("SERIALMIDI").empty());
    std::string settings(500, '\0');
    settings.replace(0, 8, "ZEPHALON");
    EXPECT_TRUE(parseSerialPortRecord(settings).empty());

    std::string tooMany = serializeSerialPortRecord({"/dev/a"});
    tooMany[10] = '\x09';
    EXPECT_TRUE(parseSerialPortRecord(tooMany).empty());

    // A record cut inside the second field keeps the whole first path only.
    std::string cut = "SERIALMIDI";
    cut += '\x02';
    cut += padded("/dev/ttyUSB0") + "/dev/ttyUS";
    EXPECT_EQ(parseSerialPortRecord(cut), (Paths{"/dev/ttyUSB0"}));

    // Blank fields and fields with NUL padding.
    std::string odd = "SERIALMIDI";
    odd += '\x03';
    odd +=
        std::string(60, ' ') + "/dev/x" + std::string(54, '\0') + "/dev/\ty" + std::string(53, ' ');
    EXPECT_EQ(parseSerialPortRecord(odd), (Paths{"/dev/x"}));
}

TEST(SerialPortRecord, DeviceNamesComeFromThePath) {
    EXPECT_EQ(serialDeviceName("/dev/ttyUSB0"), "ttyUSB0");
    EXPECT_EQ(serialDeviceName("/dev/pts/3"), "pts/3");
    EXPECT_EQ(serialDeviceName("pts/12"), "pts/12");
    EXPECT_EQ(serialDeviceName("/dev/snd/midiC1D0"), "midiC1D0");
    EXPECT_EQ(serialDeviceName("/dev/ttyACM0/"), "ttyACM0");
    EXPECT_EQ(serialDeviceName("ttyS1"), "ttyS1");
    EXPECT_EQ(serialDeviceName("/dev/serial/by-id/usb-Bridge_0123456789abcdef-if00"),
              "usb-Bridge_0123456789abcdef-if0");
    // A cut never ends inside a two-byte character: 30 letters, then "\xC3\xA9".
    EXPECT_EQ(serialDeviceName("/x/" + std::string(30, 'a') + "\xC3\xA9"), std::string(30, 'a'));
}

} // namespace
