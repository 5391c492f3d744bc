#include "unit/SimulatedUnit.h"
#include <gtest/gtest.h>

namespace {

EngineSettings fixedAt(double rpm) {
    EngineSettings e;
    e.profile = SpeedProfile::Fixed;
    e.fixedRpm = rpm;
    return e;
}

SimulatedUnit steadyUnit(double rpm) {
    SimulatedUnit u;
    BatterySettings b;
    b.volts = 13.8;
    b.rippleVolts = 0;
    u.setBattery(b);
    u.setEngine(fixedAt(rpm));
    return u;
}

uint32_t low16(uint32_t m) {
    const uint32_t s = m & 0xFF, d1 = (m >> 8) & 0xFF, d2 = m >> 16;
    return (d2 + 128 * ((s >> 1) & 1)) * 256 + d1 + 128 * (s & 1);
}

} // namespace

TEST(SimulatedUnitEngine, OneRevolutionAt6000RpmIsOneFiveMessageBurst) {
    SimulatedUnit u = steadyUnit(6000);
    u.advance(9999);
    EXPECT_TRUE(u.takeOutput().empty());
    u.advance(1); // 60,000,000 / 6000 = 10,000 us
    const std::vector<uint32_t> m = u.takeOutput();
    ASSERT_EQ(m.size(), 5u);
    EXPECT_EQ(m[0] & 0xF0, 0x80u);
    EXPECT_EQ(m[1] & 0xF0, 0x90u);
    EXPECT_EQ(m[2] & 0xF0, 0xA0u);
    EXPECT_EQ(m[3] & 0xF0, 0xB0u);
    EXPECT_EQ(m[4] & 0xF0, 0xE0u);

    // Tb: 16 bits from the data bytes, bits 16-17 from status bits 2-3, bit 18 from status
    // bit 3 of the 0x90 message. Ta: bit 16 from status bit 2 of its own message.
    const uint32_t tb = low16(m[0]) + (((m[0] & 0x0C) >> 2) + 4 * ((m[1] >> 3) & 1)) * 65536;
    const uint32_t ta = low16(m[1]) + ((m[1] >> 2) & 1) * 65536;
    // 10 ms / 1.6 us = 6250 ticks, of which 315/360 = 5468.75 -> 5469 are Tb.
    EXPECT_EQ(tb + ta, 6250u);
    EXPECT_EQ(tb, 5469u);
    EXPECT_EQ(m[0], 0x155D80u); // 5469 = 0x155D
    EXPECT_EQ(m[1], 0x030D90u); // 781 = 0x030D

    // No curve programmed: the default 10 degrees = 6250 / 36 = 173.6 -> 174 ticks before
    // the end of Ta, so Tss = 781 - 174 = 607 = 0x025F.
    EXPECT_EQ(m[3], 0x025FB0u);
    // Dwell at 6000 rpm (band 5000-6000, index 9): 5.5 ms = 3437.5 ticks before the spark
    // at Tb + Tss = 6076: Tib = 2638.5 -> 2639 = 0x0A4F.
    EXPECT_EQ(m[2], 0x0A4FA0u);
    // A1 = curve 1 in bits 4-5 + running (bit 6) = 0x50; A2 = 13.8 / 0.0797 = 173.1 -> 173
    // = 0xAD: data2 0x2D with status bit 1.
    EXPECT_EQ(m[4], 0x2D50E2u);
}

TEST(SimulatedUnitEngine, ProgrammedCurveGivesTheTablesAdvance) {
    SimulatedUnit u = steadyUnit(6000);
    // Curve 1 marked programmed: 0xFE to MDX address 4 (status 0x81, data 4, 0x7E).
    u.receive(0x7E0481);
    // 6000 rpm is entry 12 + 55 = 67 at address 6 + 67 = 73; its ninth bit is bit 55 mod 8
    // = 7 of flag byte 55 / 8 = 6 at address 12. A count of 260 (30 degrees) is stored as 4
    // with that bit set.
    u.receive(0x044980); // address 73 := 4
    u.receive(0x000C81); // address 12 := 0x80
    u.takeOutput();
    u.setEngine(fixedAt(6000));
    u.advance(10000);
    const std::vector<uint32_t> m = u.takeOutput();
    ASSERT_EQ(m.size(), 5u);
    // 260 counts of 3.2 us = 520 ticks: Tss = 781 - 520 = 261 = 0x0105.
    EXPECT_EQ(m[3], 0x0105B0u);
    // Tib = 5469 + 261 - 3437.5 = 2292.5 -> 2293 = 0x08F5: data1 0x75, data2 0x08, bit 0.
    EXPECT_EQ(m[2], 0x0875A1u);
    // A1 0x51: the programmed-advance bit.
    EXPECT_EQ((m[4] >> 8) & 0xFF, 0x51u);
}

TEST(SimulatedUnitEngine, BurstsFollowTheSpeedAndStopInOtherModes) {
    SimulatedUnit u = steadyUnit(3000); // 20 ms per revolution
    u.advance(100'000);
    EXPECT_EQ(u.takeOutput().size(), 25u);
    u.receive(0xD1);
    u.advance(100'000);
    EXPECT_EQ(u.takeOutput(), std::vector<uint32_t>{0xD1});
    u.receive(0xD0);
    u.takeOutput();
    u.setEngine(fixedAt(0));
    u.advance(1'000'000);
    EXPECT_TRUE(u.takeOutput().empty());
    EXPECT_EQ(u.currentRpm(), 0);
}

TEST(SimulatedUnitEngine, BatteryCyclesEvery26msUntil0xD0) {
    SimulatedUnit u = steadyUnit(0);
    BatterySettings b;
    b.volts = 12.0;
    b.rippleVolts = 0;
    u.setBattery(b);
    u.receive(0xD5);
    EXPECT_EQ(u.takeOutput(), std::vector<uint32_t>{0xD5});
    u.advance(25'999);
    EXPECT_TRUE(u.takeOutput().empty());
    u.advance(1);
    std::vector<uint32_t> m = u.takeOutput();
    ASSERT_EQ(m.size(), 5u);
    // Engine stopped: Tb = Ta = 0; 12.0 V / 0.0797 = 150.6 -> 151 = 0x97 (bit 7 in status
    // bit 1, data2 0x17); A1 = curve 1 in bits 4-5 = 0x10.
    EXPECT_EQ(m[0], 0x000080u);
    EXPECT_EQ(m[1], 0x000090u);
    EXPECT_EQ(m[4], 0x1710E2u);
    u.advance(52'000);
    EXPECT_EQ(u.takeOutput().size(), 10u);
    u.receive(0xD0);
    EXPECT_EQ(u.takeOutput(), std::vector<uint32_t>{0xD0});
    u.advance(1'000'000);
    EXPECT_TRUE(u.takeOutput().empty());
}

TEST(SimulatedUnitEngine, BatteryModeReplacesRevolutionsBySamples) {
    SimulatedUnit u = steadyUnit(6000); // would be 100 revolutions a second
    u.receive(0xD5);
    u.takeOutput();
    u.advance(26'000 * 10);
    const std::vector<uint32_t> m = u.takeOutput();
    ASSERT_EQ(m.size(), 50u);
    // Each sample carries the running engine's times.
    EXPECT_EQ(m[0], 0x155D80u);
    EXPECT_EQ(m[1], 0x030D90u);
}

TEST(EngineModel, SpeedProfiles) {
    UnitRandom rng(7);
    EngineSettings s;
    s.profile = SpeedProfile::Sweep;
    s.sweepMinRpm = 1000;
    s.sweepMaxRpm = 9000;
    s.sweepPeriodS = 10;
    EXPECT_DOUBLE_EQ(profileRpm(s, 0, rng), 1000);
    EXPECT_DOUBLE_EQ(profileRpm(s, 2.5e6, rng), 5000);
    EXPECT_DOUBLE_EQ(profileRpm(s, 5e6, rng), 9000);
    EXPECT_DOUBLE_EQ(profileRpm(s, 7.5e6, rng), 5000);

    s.profile = SpeedProfile::Idle;
    s.idleRpm = 900;
    s.idleJitterRpm = 40;
    UnitRandom a(99), c(99);
    for (int i = 0; i < 100; ++i) {
        const double r = profileRpm(s, 0, a);
        EXPECT_NEAR(r, 900, 40);
        EXPECT_EQ(profileRpm(s, 0, c), r); // the seed fixes the sequence
    }

    s.profile = SpeedProfile::Fixed;
    s.fixedRpm = 50; // too slow to count
    EXPECT_EQ(profileRpm(s, 0, rng), 0);
}

TEST(EngineModel, DwellBandsIncludeTheirUpperLimit) {
    UnitBytes e = factoryEeprom().mdx;
    EXPECT_DOUBLE_EQ(dwellMs(e, 1999), 10.0);
    EXPECT_DOUBLE_EQ(dwellMs(e, 3000), 10.0); // index 0
    EXPECT_DOUBLE_EQ(dwellMs(e, 3001), 7.5);  // index 5
    EXPECT_DOUBLE_EQ(dwellMs(e, 7000), 5.0);  // index 10
    EXPECT_DOUBLE_EQ(dwellMs(e, 9000), 4.5);  // index 11
    e[207] = 15;
    EXPECT_DOUBLE_EQ(dwellMs(e, 9000), 2.5);
    e[207] = 0xFF; // no valid index: the band's default
    EXPECT_DOUBLE_EQ(dwellMs(e, 9000), 4.5);
}

TEST(EngineModel, Curve2HasItsOwnFlagAndAreaAndTssStaysInTa) {
    UnitBytes e = factoryEeprom().mdx;
    e[4] = 0xFD; // curve 2 programmed, curve 1 not
    // 9,900 rpm is entry 106 at 113 + 106 = 219; flag byte 11 at 124, bit 94 mod 8 = 6.
    e[219] = 105;
    e[124] = 0x40;
    EXPECT_EQ(tableAdvanceCount(e, 2, 12000), 105 + 256); // held at the last entry
    EXPECT_FALSE(tableAdvanceCount(e, 1, 9900));
    // More advance than the 45 degree part holds: the spark comes at the start of Ta.
    EngineSettings s;
    s.defaultAdvanceDeg = 60;
    const Revolution r = revolutionAt(6000, s, factoryEeprom().mdx);
    EXPECT_EQ(r.tss, 0u);
    EXPECT_EQ(r.tb + r.ta, 6250u);
}
