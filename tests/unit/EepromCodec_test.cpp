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

    std::string badSignature = bytes;
    badSignature[8] = '_';
    for (const std::string& bad :
         {std::string(), bytes.substr(0, bytes.size() - 1), bytes + "x", badSignature})
        EXPECT_FALSE(parseEeprom(bad)) << bad.size();
}
