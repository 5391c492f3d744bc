#include "protocol/UnitPacking.h"
#include "unit/SimulatedUnit.h"
#include <algorithm>
#include <bit>
#include <gtest/gtest.h>
#include <limits>

using namespace protocol;
using namespace unit;

namespace {

using Msgs = std::vector<uint32_t>;

// A unit at a steady speed with a steady 13.8 V battery.
SimulatedUnit unitAt(double rpm, const UnitFaults& faults = {}) {
    SimulatedUnit u;
    u.setBattery({.volts = 13.8, .rippleVolts = 0});
    u.setEngine({.profile = SpeedProfile::Fixed, .fixedRpm = rpm});
    u.setFaults(faults);
    return u;
}

Msgs ask(SimulatedUnit& u, uint32_t msg) {
    u.receive(msg);
    return u.takeOutput();
}

} // namespace

TEST(SimulatedUnit, ModeCommandsAreAnsweredAsTheUnitIsSet) {
    using enum UnitMode;
    const struct {
        UnitFaults faults;
        Msgs sent, answers;
        UnitMode mode;
    } cases[] = {
        {{}, {0xD7, 0x7F, 0xC0}, {}, Run}, // unknown commands, bare data bytes
        {{}, {0xD5}, {0xD5}, Battery},
        {{}, {0xD1, 0xD2}, {0xD1, 0xD2}, EepromAccess},
        {{.eepromAnswer = EepromAnswer::GrantedDataProg}, {0xD2}, {0xD4}, EepromAccess},
        {{.eepromAnswer = EepromAnswer::Denied}, {0xD1, 0xD2}, {0xD1, 0xD3}, Programming},
        {{.eepromAnswer = EepromAnswer::Refused}, {0xD1, 0xD2}, {0xD1, 0xD0}, Run},
        {{.refuseModes = true}, {0xD1, 0xD2}, {0xD0, 0xD3}, Run},
    };
    for (const auto& c : cases) {
        SimulatedUnit u = unitAt(0, c.faults);
        Msgs answers;
        for (uint32_t m : c.sent)
            for (uint32_t a : ask(u, m))
                answers.push_back(a);
        EXPECT_EQ(answers, c.answers) << c.sent.back();
        EXPECT_EQ(u.mode(), c.mode) << c.sent.back();
    }
}

TEST(SimulatedUnit, MemoryIsReachedInTwoModesAndAWriteKeepsItsModuleBusy4ms) {
    SimulatedUnit u = unitAt(0);
    // In run mode 0xC8 to MDX 200 (0x80 + 2 + 1 for the eighth bits, data 72 72) is ignored.
    EXPECT_TRUE(ask(u, 0x484883).empty());
    EXPECT_TRUE(ask(u, 0x00488A).empty());
    EXPECT_EQ(u.eeprom().mdx[200], 0xFF);

    ask(u, 0xD2);
    EXPECT_EQ(ask(u, 0x484883), Msgs{0x484883});
    EXPECT_EQ(u.eeprom().mdx[200], 0xC8);
    // 3.999 ms later MDX is still writing: 0x24 to its address 11 is lost, unanswered. MSX
    // (0x84) has its own EEPROM and takes it at once.
    u.advance(3999);
    EXPECT_TRUE(ask(u, 0x240B80).empty());
    EXPECT_EQ(u.eeprom().mdx[11], 0xFF);
    EXPECT_EQ(u.lostWrites(), 1u);
    EXPECT_EQ(ask(u, 0x240B84), Msgs{0x240B84});
    // Reads are answered meanwhile. MDX 200 (0x88 + 2, data1 72) holds 0xC8: bit 7 in status
    // bit 0, data2 0x48; MSX 200 (0x8C + 2) is erased: 0xFF.
    EXPECT_EQ(ask(u, 0x00488A), Msgs{0x48488B});
    EXPECT_EQ(ask(u, 0x00488E), Msgs{0x7F488F});
    u.advance(1);
    EXPECT_EQ(ask(u, 0x240B80), Msgs{0x240B80});
    EXPECT_EQ(u.eeprom().mdx[11], 0x24);
    u.advance(4000);
    EXPECT_EQ(ask(u, 0x240B80), Msgs{0x240B80}); // the same value again is no change
    EXPECT_EQ(u.eepromRevision(), 3u);

    // Program memory MDX 1 (0x98): 1 * 29 + 0x3F = 0x5C. A "write" to it (0x96) is no request.
    EXPECT_EQ(ask(u, 0x000198), Msgs{0x5C0198});
    EXPECT_TRUE(ask(u, 0x010296).empty());

    EXPECT_EQ(ask(u, 0xD0), Msgs{0xD0});
    EXPECT_TRUE(ask(u, 0x00488A).empty());
}

TEST(SimulatedUnit, EachFaultKind) {
    SimulatedUnit silent = unitAt(6000, {.silent = true}); // answers nothing, yet stores
    silent.receive(0xD2);
    silent.receive(0x484883); // 0xC8 to MDX 200
    silent.advance(1'000'000);
    EXPECT_TRUE(silent.takeOutput().empty());
    EXPECT_EQ(silent.eeprom().mdx[200], 0xC8);

    SimulatedUnit dropping = unitAt(6000, {.dropProbability = 0.5});
    dropping.advance(2'000'000); // 200 revolutions, 1000 messages
    const size_t n = dropping.takeOutput().size();
    EXPECT_GT(n, 350u);
    EXPECT_LT(n, 650u);

    SimulatedUnit clean = unitAt(6000), bad = unitAt(6000, {.corruptProbability = 1});
    clean.advance(200'000);
    bad.advance(200'000);
    const Msgs a = clean.takeOutput(), b = bad.takeOutput();
    ASSERT_EQ(a.size(), b.size());
    ASSERT_FALSE(a.empty());
    for (size_t i = 0; i < a.size(); ++i) { // one bit flipped, still the same kind
        EXPECT_EQ(std::popcount(a[i] ^ b[i]), 1) << i;
        EXPECT_EQ(b[i] & 0xF0, a[i] & 0xF0) << i;
        EXPECT_LT(protocol::data1Of(b[i]), 0x80);
        EXPECT_LT(protocol::data2Of(b[i]), 0x80);
    }
}

TEST(SimulatedUnit, FactoryContentsOfEachModule) {
    // Identity 0x5A 0x50 0x23 and the module number, curve flags erased, 7500 rpm, dwell
    // indexes 0 5 8 9 10 11 and L 50; everything else erased.
    UnitBytes mdx;
    mdx.fill(0xFF);
    const std::pair<int, uint8_t> set[] = {{0, 0x5A}, {1, 0x50}, {2, 0x23}, {3, 0},
                                           {5, 75},   {202, 0},  {203, 5},  {204, 8},
                                           {205, 9},  {206, 10}, {207, 11}, {208, 50}};
    for (auto [address, value] : set)
        mdx[static_cast<size_t>(address)] = value;
    UnitBytes msx = mdx;
    msx[3] = 1;
    EXPECT_EQ(factoryEeprom(), (UnitEeprom{mdx, msx}));
}

TEST(SimulatedUnit, EachRevolutionAndInBatteryModeEach26msIsOneFiveMessageBurst) {
    SimulatedUnit u = unitAt(6000);
    u.advance(9999);
    EXPECT_TRUE(u.takeOutput().empty());
    u.advance(1); // 60,000,000 / 6000 = 10,000 us
    // 10 ms / 1.6 us = 6250 ticks: Tb 315/360 of them, 5468.75 -> 0x155D, Ta 781 = 0x030D.
    // No curve programmed: 10 degrees = 173.6 -> 174 ticks before the end of Ta, so
    // Tss = 781 - 174 = 607 = 0x025F. Dwell at 6000 rpm (band 5000-6000, index 9): 5.5 ms =
    // 3437.5 ticks before the spark at Tb + Tss = 6076: Tib = 2638.5 -> 2639 = 0x0A4F.
    // A1 = curve 1 in bits 4-5 + running (bit 6) = 0x50; A2 = 13.8 / 0.0797 = 173.1 -> 0xAD.
    const Msgs burst{0x155D80, 0x030D90, 0x0A4FA0, 0x025FB0, 0x2D50E2};
    EXPECT_EQ(u.takeOutput(), burst);

    EXPECT_EQ(ask(u, 0xD1), Msgs{0xD1});
    u.advance(100'000);
    EXPECT_TRUE(u.takeOutput().empty()); // none while programming
    EXPECT_EQ(ask(u, 0xD5), Msgs{0xD5});
    u.advance(25'999);
    EXPECT_TRUE(u.takeOutput().empty());
    u.advance(1);
    EXPECT_EQ(u.takeOutput(), burst);
    u.advance(52'000);
    EXPECT_EQ(u.takeOutput().size(), 10u);
    u.setEngine({.profile = SpeedProfile::Fixed, .fixedRpm = 0});
    u.advance(26'000); // engine stopped: all times 0 and A1 without the running bit, 0x10
    EXPECT_EQ(u.takeOutput(), (Msgs{0x80, 0x90, 0xA0, 0xB0, 0x2D10E2}));
    EXPECT_EQ(ask(u, 0xD0), Msgs{0xD0});
    u.advance(1'000'000);
    EXPECT_TRUE(u.takeOutput().empty());

    // Nobody listening does not grow the queue forever.
    u.setEngine({.profile = SpeedProfile::Fixed, .fixedRpm = 10000}); // 6 ms per revolution
    u.advance(100'000'000);                                           // 16,666 bursts
    EXPECT_EQ(u.takeOutput().size(), SimulatedUnit::MaxQueued);

    // A sweep from standstill: the stopped engine is looked at again and found turning.
    SimulatedUnit sweep = unitAt(0);
    sweep.setEngine({.profile = SpeedProfile::Sweep, .sweepMinRpm = 0, .sweepMaxRpm = 6000});
    sweep.advance(1'000'000);
    EXPECT_FALSE(sweep.takeOutput().empty());
}

TEST(EngineModel, SpeedProfilesAndDwellBands) {
    UnitRandom rng(7);
    EngineSettings s{.profile = SpeedProfile::Sweep, // 1000 -> 9000 -> 1000 rpm in 10 s
                     .sweepMinRpm = 1000,
                     .sweepMaxRpm = 9000,
                     .sweepPeriodS = 10};
    for (auto [us, rpm] : {std::pair{0.0, 1000.0}, {2.5e6, 5000.0}, {5e6, 9000.0}, {7.5e6, 5000.0}})
        EXPECT_DOUBLE_EQ(profileRpm(s, us, rng), rpm) << us;

    s = {.profile = SpeedProfile::Idle, .idleRpm = 900, .idleJitterRpm = 40};
    UnitRandom a(99), c(99);
    for (int i = 0; i < 100; ++i) {
        const double r = profileRpm(s, 0, a);
        EXPECT_NEAR(r, 900, 40);
        EXPECT_EQ(profileRpm(s, 0, c), r); // the seed fixes the sequence
    }

    s = {.profile = SpeedProfile::Fixed, .fixedRpm = 50}; // too slow to count
    EXPECT_EQ(profileRpm(s, 0, rng), 0);

    // Dwell bands include their upper limit.
    UnitBytes e = factoryEeprom().mdx;
    // Index 0 up to 3000 rpm, index 5 just above, index 11 (4.5 ms) at the top.
    for (auto [rpm, ms] : {std::pair{3000.0, 10.0}, {3001.0, 7.5}, {9000.0, 4.5}})
        EXPECT_DOUBLE_EQ(dwellMs(e, rpm), ms) << rpm;
    e[207] = 15;
    EXPECT_DOUBLE_EQ(dwellMs(e, 9000), 2.5);
    e[207] = 16; // no valid index: the band's default
    EXPECT_DOUBLE_EQ(dwellMs(e, 9000), 4.5);
    // The first band starts at 2000 rpm; below it a fixed 10 ms.
    e[202] = 4;
    EXPECT_DOUBLE_EQ(dwellMs(e, 2000), 8.0);
    EXPECT_DOUBLE_EQ(dwellMs(e, 1999), 10.0);
}

TEST(SimulatedUnit, ProgrammedCurvesGiveTheirTablesAdvance) {
    UnitEeprom e = factoryEeprom();
    e.mdx[4] = 0xFE;                                // curve 1 programmed
    std::fill_n(e.mdx.begin() + 6, 12, uint8_t{0}); // its flag bytes, addresses 6-17, clear
    // 5,999 rpm is entry 66 (address 72), 6,000 to 6,099 entry 67 (73); their ninth bits are
    // bits 6 and 7 of flag byte 6 (address 12). 260 counts are 30 degrees.
    e.mdx[72] = 0;
    e.mdx[73] = 4;
    e.mdx[12] = 0xC0;
    EXPECT_EQ(tableAdvanceCount(e.mdx, 1, 5999), 256);
    EXPECT_FALSE(tableAdvanceCount(e.mdx, 0, 6000)); // only curves 1 and 2
    EXPECT_FALSE(tableAdvanceCount(e.mdx, 2, 6000));
    SimulatedUnit u = unitAt(6000);
    u.setEeprom(e);
    u.advance(10000);
    // 260 counts of 3.2 us = 520 ticks: Tss = 781 - 520 = 261 = 0x0105; Tib = 5469 + 261 -
    // 3437.5 -> 2293 = 0x08F5; A1 with the programmed-advance bit.
    EXPECT_EQ(u.takeOutput(), (Msgs{0x155D80, 0x030D90, 0x0875A1, 0x0105B0, 0x2D51E2}));

    e.mdx[4] = 0xFD; // curve 2 programmed, curve 1 not
    // 9,900 rpm is entry 106 at 113 + 106 = 219; flag byte 11 at 124, bit 94 mod 8 = 6.
    e.mdx[219] = 105;
    e.mdx[124] = 0x40;
    EXPECT_EQ(tableAdvanceCount(e.mdx, 2, 12000), 105 + 256); // held at the last entry
    EXPECT_FALSE(tableAdvanceCount(e.mdx, 1, 9900));
    // More advance than the 45 degree part holds: the spark comes at the start of Ta.
    const Revolution r = revolutionAt(6000, {.defaultAdvanceDeg = 60}, factoryEeprom().mdx);
    EXPECT_EQ(r.tss, 0u);
    EXPECT_EQ(r.tb + r.ta, 6250u);
}

// 13.8 V with 0.15 V of 2 Hz ripple: the peak a quarter period (125 ms) in; counts of
// 0.0797 V rounded and held to 0..255.
TEST(BatteryModel, RippleAroundTheSupplyAndItsCountInOneByte) {
    const BatterySettings s;
    EXPECT_DOUBLE_EQ(batteryVolts(s, 0), 13.8);
    EXPECT_NEAR(batteryVolts(s, 125'000), 13.95, 1e-9);
    EXPECT_NEAR(batteryVolts(s, 375'000), 13.65, 1e-9);
    const std::pair<double, int> counts[] = {
        {0.5, 6},  {13.8, 173}, {20.3, 255},
        {30, 255}, {0, 0},      {-1, 0},
        {0.03, 0}, {0.04, 1},   {std::numeric_limits<double>::quiet_NaN(), 0}};
    for (auto [volts, count] : counts)
        EXPECT_EQ(batteryCount(volts), count) << volts;
}

// A corrupted message has one bit flipped, any of the 18 a message carries: status 0-3, data
// bits 0-6 of both data bytes; never bit 7 of a data byte.
TEST(UnitFaults, ACorruptMessageFlipsOneOfItsEighteenBits) {
    UnitRandom rng(7);
    uint32_t flipped = 0;
    for (int i = 0; i < 1000; ++i) {
        const uint32_t bit = corruptMessage(0x123480, rng) ^ 0x123480u;
        ASSERT_EQ(std::popcount(bit), 1);
        flipped |= bit;
    }
    EXPECT_EQ(flipped, 0x7F7F0Fu);
}
