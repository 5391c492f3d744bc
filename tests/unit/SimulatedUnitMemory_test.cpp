#include "unit/SimulatedUnit.h"
#include <gtest/gtest.h>

namespace {

// An engine that stands still, so only answers come out.
SimulatedUnit quietUnit() {
    SimulatedUnit u;
    EngineSettings e;
    e.profile = SpeedProfile::Fixed;
    e.fixedRpm = 0;
    u.setEngine(e);
    return u;
}

std::vector<uint32_t> ask(SimulatedUnit& u, uint32_t msg) {
    u.receive(msg);
    return u.takeOutput();
}

using Msgs = std::vector<uint32_t>;

} // namespace

TEST(SimulatedUnitModes, CommandsAreAnsweredAndChangeTheMode) {
    SimulatedUnit u = quietUnit();
    EXPECT_EQ(u.mode(), UnitMode::Run);
    EXPECT_EQ(ask(u, 0xD1), Msgs{0xD1});
    EXPECT_EQ(u.mode(), UnitMode::Programming);
    EXPECT_EQ(ask(u, 0xD0), Msgs{0xD0});
    EXPECT_EQ(u.mode(), UnitMode::Run);
    EXPECT_EQ(ask(u, 0xD2), Msgs{0xD2});
    EXPECT_EQ(u.mode(), UnitMode::EepromAccess);
    EXPECT_EQ(ask(u, 0xD0), Msgs{0xD0});
    // Unknown commands and bare data bytes are ignored.
    EXPECT_TRUE(ask(u, 0xD7).empty());
    EXPECT_TRUE(ask(u, 0x7F).empty());
    EXPECT_TRUE(ask(u, 0xC0).empty());
}

TEST(SimulatedUnitMemory, WriteIsEchoedAndReadsBack) {
    SimulatedUnit u = quietUnit();
    ask(u, 0xD2);
    // 0xC8 to MDX address 200: status 0x80 + 2 (address > 127) + 1 (value > 127) = 0x83,
    // data1 = 200 - 128 = 72, data2 = 200 - 128 = 72.
    EXPECT_EQ(ask(u, 0x484883), Msgs{0x484883});
    EXPECT_EQ(u.eeprom().mdx[200], 0xC8);
    EXPECT_EQ(u.eepromRevision(), 1u);
    // Read request MDX data 200: 0x88 + 2, data1 72. Answer: value bit 7 in status bit 0,
    // data2 = 0xC8 & 0x7F = 0x48, so 0x8B 0x48 0x48.
    EXPECT_EQ(ask(u, 0x00488A), Msgs{0x48488B});
    // The other module's byte is untouched (erased, 0xFF): 0x8E 0x48 0x7F with bit 0.
    EXPECT_EQ(ask(u, 0x00488E), Msgs{0x7F488F});
    // Writing the same value again is answered but is no change.
    ask(u, 0x484883);
    EXPECT_EQ(u.eepromRevision(), 1u);
}

TEST(SimulatedUnitMemory, ProgramMemoryIsReadOnly) {
    SimulatedUnit u = quietUnit();
    // MSX program memory 130: request 0x9C + 2, data1 2. Byte = (130 * 29 + 0x3F + 0x80)
    // mod 256 = 3961 mod 256 = 121 = 0x79 -> answer 0x9E 0x02 0x79.
    EXPECT_EQ(ask(u, 0x00029E), Msgs{0x79029E});
    // MDX program memory 1: 29 + 63 = 92 = 0x5C -> 0x98 0x01 0x5C.
    EXPECT_EQ(ask(u, 0x000198), Msgs{0x5C0198});
    // A "write" of MSX program memory 130 (0x90 + 4 + 2) is no request: no answer.
    EXPECT_TRUE(ask(u, 0x010296).empty());
    EXPECT_EQ(u.program(UnitModuleId::MSX)[130], 0x79);
}
