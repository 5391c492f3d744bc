#include "transport/MidiRing.h"

#include <gtest/gtest.h>
#include <memory>
#include <thread>

using namespace transport;

namespace {

// The ring is large (three columns of 32000 words): keep it off the stack.
std::unique_ptr<MidiRing> ringAt(int index) {
    auto ring = std::make_unique<MidiRing>();
    MidiRing::Entry e{};
    for (int i = 0; i < index; ++i) {
        ring->push(0, 0, 0);
        ring->pop(e);
    }
    return ring;
}

TEST(MidiRing, FullAcrossTheWrapKeeps31999UnreadCountsTheOverrunMarksTheGapAndDiscards) {
    auto ring = ringAt(20000);
    for (uint32_t i = 0; i < 31999; ++i)
        ASSERT_TRUE(ring->push(0x3C3, i, i + 7));
    EXPECT_EQ(ring->RingWrite(), 19999); // 20000 + 31999 - 32000
    EXPECT_EQ(ring->unread(), 31999);
    EXPECT_FALSE(ring->push(0x3C3, 99999, 0)); // the 32000th
    EXPECT_FALSE(ring->push(0x3C3, 99998, 0));
    EXPECT_EQ(ring->overruns(), 2u);

    MidiRing::Entry e{};
    for (uint32_t i = 0; i < 31999; ++i) {
        ASSERT_TRUE(ring->pop(e));
        ASSERT_EQ(e.msg, 0x3C3u);
        ASSERT_EQ(e.param, i);
        ASSERT_EQ(e.stamp, i + 7);
        ASSERT_FALSE(e.gap);
    }
    EXPECT_FALSE(ring->pop(e));
    EXPECT_EQ(ring->RingRead(), 19999);
    // The first message stored after the loss carries the gap mark, the next one does not.
    ring->push(0x3C3, 1, 0);
    ring->push(0x3C3, 2, 0);
    ASSERT_TRUE(ring->pop(e));
    EXPECT_TRUE(e.gap);
    ASSERT_TRUE(ring->pop(e));
    EXPECT_FALSE(e.gap);

    // Discard drops unread entries from the consumer side, leaving RingWrite alone.
    for (uint32_t i = 0; i < 5; ++i)
        ring->push(0x3C3, i, 0);
    ring->discard();
    EXPECT_TRUE(ring->empty());
    EXPECT_EQ(ring->RingWrite(), 20006);
    ring->push(0x3C3, 42, 0);
    ASSERT_TRUE(ring->pop(e));
    EXPECT_EQ(e.param, 42u);
}

TEST(MidiRing, ConsumerSeesEveryEntryOfAConcurrentProducerInOrder) {
    auto ring = ringAt(0);
    constexpr uint32_t Count = 200000; // several laps of the ring
    std::thread producer([&] {
        for (uint32_t i = 0; i < Count;) {
            // Retried here only so that nothing is lost in the test.
            if (ring->push(0x3C3, i, ~i))
                ++i;
            else
                std::this_thread::yield();
        }
    });
    MidiRing::Entry e{};
    uint32_t expected = 0;
    bool inOrder = true;
    while (expected < Count) {
        if (!ring->pop(e)) {
            std::this_thread::yield();
            continue;
        }
        if (e.param != expected || e.stamp != ~expected) inOrder = false;
        ++expected;
    }
    producer.join();
    EXPECT_TRUE(inOrder);
    EXPECT_TRUE(ring->empty());
}

} // namespace
