#include "protocol/UnitPacking.h"
#include "support/PairUnpacking.h"
#include <gtest/gtest.h>

// Unit to PC: status bit 0 = bit 7 of data1, bit 1 = bit 7 of data2, bits 2-3 = value bits
// 16-17; bit 18 of a pair's first value rides in status bit 3 of the second message.
TEST(UnitPacking, HighBitsTravelInTheStatusNibbleAndRoundTrip) {
    // 32767 = 0x7FFF: data1 0x7F with bit 7 set, data2 0x7F -> status 0x81.
    EXPECT_EQ(packFirstValue(0x80, 32767), 0x7F7F81u);
    // 0x30000 + 5: bits 16-17 both set -> status bits 2-3 -> 0x8C.
    EXPECT_EQ(packFirstValue(0xA0, 0x30005), 0x0005ACu);
    // Ta = 0x10001 (bit 16 -> status bit 2), Tb has bit 18 set -> status bit 3.
    EXPECT_EQ(packSecondValue(0x90, 0x10001, 0x40000), 0x00019Cu);
    EXPECT_EQ(packSecondValue(0xB0, 0x00100, 0x3FFFF), 0x0100B0u);
    for (uint32_t first : {0u, 127u, 128u, 32768u, 65536u, 0x5A5A5u, FirstValueMax})
        for (uint32_t second : {0u, 255u, 65535u, SecondValueMax}) {
            const PairValues q =
                unpackPair(packFirstValue(0x80, first), packSecondValue(0x90, second, first));
            EXPECT_EQ(q.first, first);
            EXPECT_EQ(q.second, second);
        }
}

TEST(UnitPacking, StatusBytesDataRepliesAndRequests) {
    // A1 0xA5 (bit 7 -> status bit 0), A2 0x97 (bit 7 -> status bit 1).
    EXPECT_EQ(packStatusBytes(0xA5, 0x97), 0x1725E3u);
    // Read of MDX address 200 holding 0xC8: address bit 7 in status bit 1, value bit 7 in
    // bit 0, data1 = 72, data2 = 72.
    EXPECT_EQ(packDataReply(0x88, 200, 0xC8), 0x48488Bu);
    EXPECT_EQ(replyValue(0x050089), 133); // status 0x89 and data 2 = 5

    // Write 200 to MSX address 10: status 0x85, data1 10, data2 72.
    MemoryRequest r = decodeMemoryRequest(0x480A85);
    EXPECT_TRUE(r.valid && !r.read && r.msx);
    EXPECT_EQ(r.address, 10);
    EXPECT_EQ(r.value, 200);
    r = decodeMemoryRequest(0x00029E); // read MSX program memory 130: 0x9E, data1 2
    EXPECT_TRUE(r.valid && r.read && r.program && r.msx);
    EXPECT_EQ(r.address, 130);
    EXPECT_FALSE(decodeMemoryRequest(0x0000E0).valid);
    // A stray eighth bit on a data byte is not taken as part of the address.
    r = decodeMemoryRequest(0x00FF88);
    EXPECT_EQ(r.address, 127);
    EXPECT_FALSE(r.msx);
}
