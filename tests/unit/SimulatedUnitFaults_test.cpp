#include "unit/SimulatedUnit.h"
#include "unit/UnitPacking.h"
#include <bit>
#include <gtest/gtest.h>

namespace {

SimulatedUnit unitWith(const UnitFaults& f, double rpm = 0) {
    SimulatedUnit u;
    EngineSettings e;
    e.profile = SpeedProfile::Fixed;
    e.fixedRpm = rpm;
    u.setEngine(e);
    u.setFaults(f);
    return u;
}

} // namespace

TEST(SimulatedUnitFaults, SilentUnitStillStoresAndDroppingLosesSome) {
    UnitFaults f;
    f.silent = true;
    SimulatedUnit u = unitWith(f, 6000);
    u.receive(0xD2);
    u.receive(0x484883); // 0xC8 to MDX 200
    u.advance(1'000'000);
    EXPECT_TRUE(u.takeOutput().empty());
    EXPECT_EQ(u.eeprom().mdx[200], 0xC8);

    f = {};
    f.dropProbability = 0.5;
    SimulatedUnit d = unitWith(f, 6000);
    d.advance(2'000'000); // 200 revolutions, 1000 messages
    const size_t n = d.takeOutput().size();
    EXPECT_GT(n, 350u);
    EXPECT_LT(n, 650u);
}

TEST(SimulatedUnitFaults, CorruptionFlipsOneVisibleBit) {
    SimulatedUnit clean = unitWith({}, 6000);
    UnitFaults f;
    f.corruptProbability = 1;
    SimulatedUnit bad = unitWith(f, 6000);
    clean.advance(200'000);
    bad.advance(200'000);
    const auto a = clean.takeOutput();
    const auto b = bad.takeOutput();
    ASSERT_EQ(a.size(), b.size());
    ASSERT_FALSE(a.empty());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(std::popcount(a[i] ^ b[i]), 1) << i;
        EXPECT_EQ(b[i] & 0xF0, a[i] & 0xF0) << i; // still the same kind
        EXPECT_LT(unitmsg::data1Of(b[i]), 0x80);
        EXPECT_LT(unitmsg::data2Of(b[i]), 0x80);
    }
}

TEST(SimulatedUnitFaults, WrongModuleAnswersWithTheOtherModulesBitAndByte) {
    UnitFaults f;
    f.wrongModuleProbability = 1;
    SimulatedUnit u = unitWith(f);
    u.receive(0xD1);
    u.takeOutput();
    // 7 written to MDX address 10 (0x80, 10, 7): stored in MDX, echoed as MSX (0x84).
    u.receive(0x070A80);
    EXPECT_EQ(u.takeOutput(), std::vector<uint32_t>{0x070A84});
    EXPECT_EQ(u.eeprom().mdx[10], 7);
    // Reading MDX 10 (0x88) is answered by MSX (0x8C) with its erased byte 0xFF.
    u.receive(0x000A88);
    EXPECT_EQ(u.takeOutput(), std::vector<uint32_t>{0x7F0A8D});
}

TEST(SimulatedUnitFaults, RefusedModes) {
    UnitFaults f;
    f.refuseModes = true;
    SimulatedUnit u = unitWith(f);
    u.receive(0xD1);
    u.receive(0xD2);
    EXPECT_EQ(u.takeOutput(), (std::vector<uint32_t>{0xD0, 0xD3}));
    EXPECT_EQ(u.mode(), UnitMode::Run);
}

TEST(SimulatedUnitFaults, NobodyListeningDoesNotGrowTheQueueForever) {
    SimulatedUnit u = unitWith({}, 10000); // 6 ms per revolution
    u.advance(100'000'000);                // 16,666 bursts
    EXPECT_EQ(u.takeOutput().size(), SimulatedUnit::MaxQueued);
}
