#include "timing/backends/ThreadTimerSource.h"
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace timing;

namespace {

// Counts calls and lets the test wait for a number of them. The long limit only keeps a
// broken timer from hanging the run; it says nothing about speed. Given a source, each call
// kills its own timer first (a call before its id was known is not counted).
struct Counter {
    std::atomic<int> calls{0};
    std::atomic<bool> offThread{true};
    std::thread::id testThread = std::this_thread::get_id();
    ThreadTimerSource* killer = nullptr;
    std::atomic<uint32_t> id{0};

    static void proc(void* self) {
        auto& c = *static_cast<Counter*>(self);
        if (c.killer) {
            if (c.id == 0) return;
            c.killer->timeKillEvent(c.id);
        }
        if (std::this_thread::get_id() == c.testThread) c.offThread = false;
        ++c.calls;
    }
    bool waitFor(int n) const {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (calls < n && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        return calls >= n;
    }
};

// The count must stay put while the test thread gives way many times.
void expectNoMoreCalls(const std::atomic<int>& calls) {
    const int after = calls.load();
    for (int i = 0; i < 20'000; ++i)
        std::this_thread::yield();
    EXPECT_EQ(calls.load(), after);
}

TEST(ThreadTimerSource, TimersRunSideBySideOffTheCallerUntilKilledEvenByThemselvesOrDestroyed) {
    Counter a, b, c, killer, d;
    {
        ThreadTimerSource source;
        const uint32_t idA = source.timeSetEvent(1, 0, &Counter::proc, &a);
        EXPECT_EQ(idA, 1u);
        EXPECT_EQ(source.timeSetEvent(2, 1, &Counter::proc, &b), 2u);
        source.timeSetEvent(1, 0, &Counter::proc, &c);
        EXPECT_EQ(source.active(), 3);
        ASSERT_TRUE(a.waitFor(3));
        EXPECT_TRUE(a.offThread);
        source.timeKillEvent(idA);
        EXPECT_EQ(source.active(), 2);
        expectNoMoreCalls(a.calls);          // no callback after the kill returns
        source.timeKillEvent(idA);           // already gone: ignored
        ASSERT_TRUE(b.waitFor(b.calls + 2)); // the others keep running
        ASSERT_TRUE(c.waitFor(c.calls + 2));
        // No period or no procedure: refused; unknown ids are ignored.
        EXPECT_EQ(source.timeSetEvent(0, 0, &Counter::proc, &a), 0u);
        EXPECT_EQ(source.timeSetEvent(1, 0, nullptr, &a), 0u);
        source.timeKillEvent(0);
        source.timeKillEvent(12345);
        EXPECT_EQ(source.active(), 2);

        // A procedure that kills its own timer must not wait for itself.
        killer.killer = &source;
        killer.id = source.timeSetEvent(1, 0, &Counter::proc, &killer);
        ASSERT_TRUE(killer.waitFor(1));
        expectNoMoreCalls(killer.calls);
        EXPECT_EQ(killer.calls.load(), 1);
        EXPECT_EQ(source.active(), 2);
        // The stopped thread is joined by the next request.
        const uint32_t next = source.timeSetEvent(1, 0, &Counter::proc, &d);
        EXPECT_EQ(next, 5u);
        ASSERT_TRUE(d.waitFor(1));
        source.timeKillEvent(next);
    }
    // Destruction ends every timer.
    expectNoMoreCalls(b.calls);
    expectNoMoreCalls(c.calls);
}

} // namespace
