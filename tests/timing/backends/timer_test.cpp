#include "timing/backends/ThreadTimerSource.h"
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

namespace {

// Counts calls and lets the test wait for a number of them. The long limit only keeps a
// broken timer from hanging the run; it says nothing about speed.
struct Counter {
    std::atomic<int> calls{0};
    std::atomic<bool> offThread{true};
    std::thread::id testThread = std::this_thread::get_id();
    std::mutex mutex;
    std::condition_variable changed;

    static void proc(void* self) {
        auto& c = *static_cast<Counter*>(self);
        if (std::this_thread::get_id() == c.testThread) c.offThread = false;
        {
            std::lock_guard lock(c.mutex);
            ++c.calls;
        }
        c.changed.notify_all();
    }
    bool waitFor(int n) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(30), [&] { return calls >= n; });
    }
};

// The count must stay put while the test thread gives way many times.
void expectNoMoreCalls(Counter& c) {
    const int after = c.calls.load();
    for (int i = 0; i < 20'000; ++i)
        std::this_thread::yield();
    EXPECT_EQ(c.calls.load(), after);
}

TEST(ThreadTimerSource, CallsBackUntilKilled) {
    ThreadTimerSource source;
    Counter c;
    const uint32_t id = source.timeSetEvent(1, 0, &Counter::proc, &c);
    EXPECT_EQ(id, 1u);
    ASSERT_TRUE(c.waitFor(5));
    EXPECT_TRUE(c.offThread);
    source.timeKillEvent(id);
    EXPECT_EQ(source.active(), 0);
    expectNoMoreCalls(c);
    source.timeKillEvent(id); // already gone: ignored
}

TEST(ThreadTimerSource, TimersRunSideBySideWithTheirOwnIds) {
    ThreadTimerSource source;
    Counter a, b;
    const uint32_t idA = source.timeSetEvent(1, 0, &Counter::proc, &a);
    const uint32_t idB = source.timeSetEvent(2, 1, &Counter::proc, &b);
    EXPECT_EQ(idA, 1u);
    EXPECT_EQ(idB, 2u);
    EXPECT_EQ(source.active(), 2);
    ASSERT_TRUE(a.waitFor(3));
    ASSERT_TRUE(b.waitFor(3));
    source.timeKillEvent(idA);
    expectNoMoreCalls(a);
    const int before = b.calls.load();
    ASSERT_TRUE(b.waitFor(before + 2)); // the other one keeps running
    source.timeKillEvent(idB);
    expectNoMoreCalls(b);
}

TEST(ThreadTimerSource, RefusesBadRequests) {
    ThreadTimerSource source;
    Counter c;
    EXPECT_EQ(source.timeSetEvent(0, 0, &Counter::proc, &c), 0u);
    EXPECT_EQ(source.timeSetEvent(1, 0, nullptr, &c), 0u);
    EXPECT_EQ(source.active(), 0);
    source.timeKillEvent(0);
    source.timeKillEvent(12345);
}

TEST(ThreadTimerSource, DestructionEndsEveryTimer) {
    Counter a, b;
    {
        ThreadTimerSource source;
        source.timeSetEvent(1, 0, &Counter::proc, &a);
        source.timeSetEvent(1, 0, &Counter::proc, &b);
        ASSERT_TRUE(a.waitFor(2));
        ASSERT_TRUE(b.waitFor(2));
    }
    expectNoMoreCalls(a);
    expectNoMoreCalls(b);
}

// A procedure that kills its own timer must not wait for itself.
struct SelfKiller {
    ThreadTimerSource* source = nullptr;
    std::atomic<uint32_t> id{0};
    std::atomic<int> calls{0};
    Counter kills;
    static void proc(void* self) {
        auto& s = *static_cast<SelfKiller*>(self);
        ++s.calls;
        const uint32_t id = s.id.load();
        if (id == 0) return; // came before the id was known
        s.source->timeKillEvent(id);
        Counter::proc(&s.kills);
    }
};

TEST(ThreadTimerSource, KillFromItsOwnProcedure) {
    ThreadTimerSource source;
    SelfKiller killer;
    killer.source = &source;
    killer.id = source.timeSetEvent(1, 0, &SelfKiller::proc, &killer);
    ASSERT_TRUE(killer.kills.waitFor(1));
    const int calls = killer.calls.load();
    for (int i = 0; i < 20'000; ++i)
        std::this_thread::yield();
    EXPECT_EQ(killer.calls.load(), calls);
    EXPECT_EQ(killer.kills.calls.load(), 1);
    EXPECT_EQ(source.active(), 0);
    // The stopped thread is joined by the next request.
    Counter c;
    const uint32_t next = source.timeSetEvent(1, 0, &Counter::proc, &c);
    EXPECT_EQ(next, 2u);
    ASSERT_TRUE(c.waitFor(1));
    source.timeKillEvent(next);
}

} // namespace
