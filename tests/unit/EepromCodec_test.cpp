#include "unit/EepromCodec.h"
#include <gtest/gtest.h>

using namespace unit;

TEST(EepromCodec, SignatureThenMdxThenMsxAndBackAndRefusesAnythingElse) {
    UnitEeprom e{};
    e.mdx[0] = 0x11;
    e.mdx[255] = 0x22;
    e.msx[0] = 0x33;
    e.msx[255] = 0x44;
    const std::string bytes = serializeEeprom(e);
    ASSERT_EQ(bytes.size(), 16u + 512u);
    EXPECT_EQ(bytes.substr(0, 16), "ZEPHALON EEPROM1");
    EXPECT_EQ(static_cast<uint8_t>(bytes[16]), 0x11);
    EXPECT_EQ(static_cast<uint8_t>(bytes[16 + 255]), 0x22);
    EXPECT_EQ(static_cast<uint8_t>(bytes[16 + 256]), 0x33);
    EXPECT_EQ(static_cast<uint8_t>(bytes[16 + 511]), 0x44);
    const auto back = parseEeprom(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, e);
    EXPECT_EQ(eepromRefusalReason(bytes, 0), "");

    // What is refused, and why, in either language.
    const std::string body = bytes.substr(16);
    const std::pair<std::string, std::string> refused[] = {
        {"", "0 byte invece di 528"},
        {bytes + "x", "529 byte invece di 528"},
        {"ZEPHALON EEPROM2" + body, "formato più recente (ZEPHALON EEPROM2)"},
        {"ZEPHALON EEPROM9", "formato più recente (ZEPHALON EEPROM9)"},
        {"ZEPHALON EEPROM:" + body, "non è una memoria dell'unità simulata"},
        {"ZEPHALON EEPROM0" + body, "non è una memoria dell'unità simulata"},
        {"ZEPHALON_EEPROM1" + body, "non è una memoria dell'unità simulata"},
    };
    for (const auto& [bad, reason] : refused) {
        EXPECT_FALSE(parseEeprom(bad)) << reason;
        EXPECT_EQ(eepromRefusalReason(bad, 0), reason);
    }
    EXPECT_EQ(eepromRefusalReason(bytes + "x", 200), "529 bytes instead of 528");
    EXPECT_EQ(eepromRefusalReason("ZEPHALON EEPROM2", 200), "newer format (ZEPHALON EEPROM2)");
    EXPECT_EQ(eepromRefusalReason(std::string(528, 'x'), 200), "not a simulated unit memory");
    EXPECT_EQ(eepromRefusedNotice("m.bin", "r", 0)
                  .rfind("Memoria dell'unità simulata non letta: m.bin (r)", 0),
              0u);
    EXPECT_EQ(eepromRefusedNotice("m.bin", "r", 200)
                  .rfind("Simulated unit memory not read: m.bin (r)", 0),
              0u);
}
