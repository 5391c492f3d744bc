#include "support/FakeTimerSource.h"
#include "timing/PrecisionClock.h"
#include "timing/TickPacer.h"
#include "timing/modTimerExact.h"
#include <gtest/gtest.h>
#include <tuple>

using namespace timing;

namespace {

void tick(PrecisionClock& clock, int n) {
    for (int i = 0; i < n; ++i)
        clock.TimerExactProc();
}

using Reading = std::tuple<int, int, int, int>; // min, sec, cs, ms

Reading reading(const PrecisionClock& c) {
    return {c.ClockMin.load(), c.ClockSec.load(), c.ClockCs.load(), c.ClockMs.load()};
}

TEST(PrecisionClock, CarriesMinutesWrapAfterAnHourTickCounterAtFiftyMillion) {
    PrecisionClock clock;
    tick(clock, 10); // 10 ms = 1 cs
    EXPECT_EQ(reading(clock), Reading(0, 0, 1, 0));
    tick(clock, 61'224); // 61,234 ms = 1 min 1 s 234 ms
    EXPECT_EQ(reading(clock), Reading(1, 1, 23, 4));
    tick(clock, 3'538'765); // 3,599,999 ms
    EXPECT_EQ(reading(clock), Reading(59, 59, 99, 9));
    tick(clock, 1);
    EXPECT_EQ(reading(clock), Reading(0, 0, 0, 0));
    EXPECT_EQ(clock.TickCounter.load(), 3'600'000);

    tick(clock, 46'399'999);
    EXPECT_EQ(clock.TickCounter.load(), 49'999'999);
    tick(clock, 1);
    EXPECT_EQ(clock.TickCounter.load(), 0);
    // 50,000 s = 833 min 20 s, of which the clock keeps 53 min 20 s
    EXPECT_EQ(reading(clock), Reading(53, 20, 0, 0));
    tick(clock, 1);
    EXPECT_EQ(clock.TickCounter.load(), 1);
}

TEST(PrecisionClock, ResetsClearTheirFieldsAndFieldsOutOfRangeComeBack) {
    PrecisionClock clock;
    tick(clock, 12'345);
    clock.resetClock();
    EXPECT_EQ(reading(clock), Reading(0, 0, 0, 0));
    EXPECT_EQ(clock.TickCounter.load(), 12'345);
    tick(clock, 5);
    clock.resetAll();
    EXPECT_EQ(reading(clock), Reading(0, 0, 0, 0));
    EXPECT_EQ(clock.TickCounter.load(), 0);

    clock.ClockMs = 12;
    clock.ClockCs = 150;
    clock.ClockSec = 75;
    clock.ClockMin = 80;
    clock.TimerExactProc();
    EXPECT_EQ(reading(clock), Reading(0, 0, 0, 0));
}

TEST(modTimerExact, StartTwiceLeavesOneTimerStopOrDestructionKillsItFailureLeavesNone) {
    PrecisionClock clock;
    FakeTimerSource source;
    {
        modTimerExact timer(clock, source);
        timer.StartTimer1();
        ASSERT_EQ(source.live.size(), 1u);
        EXPECT_EQ(source.live.at(1).delayMs, 1);
        EXPECT_EQ(source.live.at(1).resolutionMs, 0);

        timer.StartTimer1();
        ASSERT_EQ(source.live.size(), 1u);
        EXPECT_EQ(source.live.begin()->first, 2u);
        EXPECT_EQ(timer.TimerExactID, 2u);
        // The procedure handed to the source advances this clock.
        source.fire();
        EXPECT_EQ(reading(clock), Reading(0, 0, 0, 1));

        timer.StopTimer1();
        EXPECT_TRUE(source.live.empty());
        EXPECT_EQ(timer.TimerExactID, 0u);
        timer.StopTimer1(); // nothing runs: nothing to kill
        EXPECT_EQ(source.killCalls, 2);
        // A failed creation leaves no timer and nothing to kill.
        source.fail = true;
        timer.StartTimer1();
        EXPECT_FALSE(timer.running());
        timer.StopTimer1();
        EXPECT_EQ(source.killCalls, 2);
        source.fail = false;
        timer.StartTimer1();
    }
    EXPECT_TRUE(source.live.empty()); // destruction stops the timer
}

} // namespace

namespace {
// Wake-ups every 1 ms of a monotonic clock (µs), plus a late one.
int64_t run(TickPacer& pacer, int64_t fromUs, int64_t toUs, int64_t stepUs) {
    int64_t ticks = 0;
    for (int64_t t = fromUs; t <= toUs; t += stepUs)
        ticks += pacer.due(t);
    return ticks;
}
} // namespace

TEST(TickPacer, AThreadHeldBackCatchesUpSoTheCountKeepsToRealTime) {
    TickPacer pacer(1000);
    pacer.start(5'000'000);
    // 1.2 s of punctual wake-ups 0.3 ms after each due time, then a wake-up 200 ms late,
    // then on to 3.0 s after the start: 3,000 ticks, as many as milliseconds passed.
    int64_t ticks = run(pacer, 5'001'300, 6'200'300, 1000);
    EXPECT_EQ(ticks, 1200);
    EXPECT_EQ(pacer.due(6'400'300), 200);
    ticks += 200;
    ticks += run(pacer, 6'401'300, 8'000'300, 1000);
    EXPECT_NEAR(static_cast<double>(ticks), 3000.0, 2.0);
    EXPECT_EQ(pacer.delivered(), ticks);
    EXPECT_EQ(pacer.nextDueUs(), 8'001'000);
    // Early or repeated wake-ups and a clock read that went back owe nothing.
    EXPECT_EQ(pacer.due(8'000'999), 0);
    EXPECT_EQ(pacer.due(7'000'000), 0);
    EXPECT_EQ(pacer.due(8'001'000), 1);
}
