#include "support/FakeTimerSource.h"
#include "timing/PrecisionClock.h"
#include "timing/TickPacer.h"
#include "timing/modTimerExact.h"
#include <gtest/gtest.h>
#include <tuple>

namespace {

void tick(PrecisionClock& clock, int n) {
    for (int i = 0; i < n; ++i)
        clock.TimerExactProc();
}

using Reading = std::tuple<int, int, int, int>; // min, sec, cs, ms

Reading reading(const PrecisionClock& c) {
    return {c.ClockMin.load(), c.ClockSec.load(), c.ClockCs.load(), c.ClockMs.load()};
}

TEST(PrecisionClock, CarriesWrapsAfterAnHourAndAtFiftyMillionTicksResetsClearTheirFields) {
    PrecisionClock clock;
    const std::tuple<int, Reading, int> steps[] = {
        {10, {0, 0, 1, 0}, 10},                  // 10 ms = 1 cs
        {61'224, {1, 1, 23, 4}, 61'234},         // 1 min 1 s 234 ms
        {3'538'765, {59, 59, 99, 9}, 3'599'999}, // the clock wraps after an hour
        {1, {0, 0, 0, 0}, 3'600'000},
        {46'399'999, {53, 19, 99, 9}, 49'999'999}, // 833 min 19.999 s
        {1, {53, 20, 0, 0}, 0},                    // the tick counter wraps at 50,000 s
        {1, {53, 20, 0, 1}, 1},
    };
    for (const auto& [ticks, read, counter] : steps) {
        tick(clock, ticks);
        EXPECT_EQ(reading(clock), read) << counter;
        EXPECT_EQ(clock.TickCounter.load(), counter);
    }
    // Resets clear their own fields; fields out of range come back to 0.
    clock.resetClock();
    EXPECT_EQ(reading(clock), Reading(0, 0, 0, 0));
    EXPECT_EQ(clock.TickCounter.load(), 1);
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

// Period 1 ms from 5 s: tick n falls due at 5 s + n ms, not a microsecond earlier.
TEST(TickPacer, EachTickFallsDueAtItsMillisecondAndALateWakeUpGetsAllItOwes) {
    TickPacer pacer(1000);
    pacer.start(5'000'000);
    for (const int64_t early : {4'000'000, 5'000'000, 5'000'999}) // before, at the start
        EXPECT_EQ(pacer.due(early), 0) << early;
    EXPECT_EQ(pacer.nextDueUs(), 5'001'000);
    EXPECT_EQ(pacer.due(5'001'000), 1);
    EXPECT_EQ(pacer.due(5'001'000), 0); // repeated
    EXPECT_EQ(pacer.due(5'001'999), 0);
    EXPECT_EQ(pacer.due(5'002'001), 1);
    // 200 ms late: ticks 3-202 at once; a clock read that went back owes nothing.
    EXPECT_EQ(pacer.due(5'202'300), 200);
    EXPECT_EQ(pacer.due(5'100'000), 0);
    EXPECT_EQ(pacer.delivered(), 202);
    EXPECT_EQ(pacer.nextDueUs(), 5'203'000);
    EXPECT_EQ(pacer.due(5'203'000), 1);
    // A new start counts from zero again.
    pacer.start(9'000'000);
    EXPECT_EQ(pacer.due(9'000'999), 0);
    EXPECT_EQ(pacer.due(9'003'000), 3);
}
