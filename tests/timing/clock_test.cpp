#include "timing/PrecisionClock.h"
#include "timing/modTimerExact.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

void tick(PrecisionClock& clock, int n) {
    for (int i = 0; i < n; ++i)
        clock.TimerExactProc();
}

struct Reading {
    int min, sec, cs, ms;
};

void expectClock(const PrecisionClock& clock, Reading r) {
    EXPECT_EQ(clock.ClockMin.load(), r.min);
    EXPECT_EQ(clock.ClockSec.load(), r.sec);
    EXPECT_EQ(clock.ClockCs.load(), r.cs);
    EXPECT_EQ(clock.ClockMs.load(), r.ms);
}

TEST(PrecisionClock, CarriesThroughEveryField) {
    PrecisionClock clock;
    tick(clock, 9);
    expectClock(clock, {0, 0, 0, 9});
    tick(clock, 1); // 10 ms = 1 cs
    expectClock(clock, {0, 0, 1, 0});
    tick(clock, 990); // 1 s
    expectClock(clock, {0, 1, 0, 0});
    // 61,234 ms = 1 min 1 s 234 ms
    clock.resetAll();
    tick(clock, 61'234);
    expectClock(clock, {1, 1, 23, 4});
    EXPECT_EQ(clock.TickCounter.load(), 61'234);
}

TEST(PrecisionClock, MinutesWrapAfterOneHour) {
    PrecisionClock clock;
    tick(clock, 3'599'999);
    expectClock(clock, {59, 59, 99, 9});
    tick(clock, 1);
    expectClock(clock, {0, 0, 0, 0});
    EXPECT_EQ(clock.TickCounter.load(), 3'600'000);
}

TEST(PrecisionClock, TickCounterWrapsAtFiftyMillion) {
    PrecisionClock clock;
    tick(clock, 49'999'999);
    EXPECT_EQ(clock.TickCounter.load(), 49'999'999);
    tick(clock, 1);
    EXPECT_EQ(clock.TickCounter.load(), 0);
    // 50,000 s = 833 min 20 s, of which the clock keeps 53 min 20 s
    expectClock(clock, {53, 20, 0, 0});
    tick(clock, 1);
    EXPECT_EQ(clock.TickCounter.load(), 1);
}

TEST(PrecisionClock, ResetsClearTheirFields) {
    PrecisionClock clock;
    tick(clock, 12'345);
    clock.resetClock();
    expectClock(clock, {0, 0, 0, 0});
    EXPECT_EQ(clock.TickCounter.load(), 12'345);
    tick(clock, 5);
    clock.resetAll();
    expectClock(clock, {0, 0, 0, 0});
    EXPECT_EQ(clock.TickCounter.load(), 0);
}

TEST(PrecisionClock, FieldsLeftOutOfRangeComeBack) {
    PrecisionClock clock;
    clock.ClockMs = 12;
    clock.ClockCs = 150;
    clock.ClockSec = 75;
    clock.ClockMin = 80;
    clock.TimerExactProc();
    expectClock(clock, {0, 0, 0, 0});
}

class FakeTimerSource : public PeriodicTimerSource {
public:
    struct Timer {
        uint32_t id;
        int delay, resolution;
        Proc proc;
        void* user;
    };
    std::vector<Timer> running;
    std::vector<uint32_t> killed;
    uint32_t nextId = 7;
    bool fail = false;

    uint32_t timeSetEvent(int delayMs, int resolutionMs, Proc proc, void* user) override {
        if (fail) return 0;
        running.push_back({nextId, delayMs, resolutionMs, proc, user});
        return nextId++;
    }
    void timeKillEvent(uint32_t id) override {
        killed.push_back(id);
        std::erase_if(running, [id](const Timer& t) { return t.id == id; });
    }
};

TEST(modTimerExact, StartTwiceLeavesOneTimer) {
    PrecisionClock clock;
    FakeTimerSource source;
    modTimerExact timer(clock, source);
    timer.StartTimer1();
    ASSERT_EQ(source.running.size(), 1u);
    EXPECT_EQ(source.running[0].delay, 1);
    EXPECT_EQ(source.running[0].resolution, 0);
    EXPECT_EQ(timer.TimerExactID, 7u);

    timer.StartTimer1();
    EXPECT_EQ(source.killed, std::vector<uint32_t>{7});
    ASSERT_EQ(source.running.size(), 1u);
    EXPECT_EQ(timer.TimerExactID, 8u);

    // The procedure handed to the source advances this clock.
    source.running[0].proc(source.running[0].user);
    EXPECT_EQ(clock.TickCounter.load(), 1);
    EXPECT_EQ(clock.ClockMs.load(), 1);

    timer.StopTimer1();
    EXPECT_TRUE(source.running.empty());
    EXPECT_EQ(timer.TimerExactID, 0u);
    timer.StopTimer1(); // nothing runs: nothing to kill
    EXPECT_EQ(source.killed.size(), 2u);
}

TEST(modTimerExact, FailedCreationLeavesNoTimer) {
    PrecisionClock clock;
    FakeTimerSource source;
    source.fail = true;
    {
        modTimerExact timer(clock, source);
        timer.StartTimer1();
        EXPECT_EQ(timer.TimerExactID, 0u);
        EXPECT_FALSE(timer.running());
        timer.StopTimer1();
    }
    EXPECT_TRUE(source.killed.empty());
}

TEST(modTimerExact, DestructionStopsTheTimer) {
    PrecisionClock clock;
    FakeTimerSource source;
    {
        modTimerExact timer(clock, source);
        timer.StartTimer1();
    }
    EXPECT_TRUE(source.running.empty());
    EXPECT_EQ(source.killed, std::vector<uint32_t>{7});
}

} // namespace
