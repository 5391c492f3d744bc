#include "transport/MidiRing.h"

#include <gtest/gtest.h>
#include <memory>
#include <thread>

using namespace transport;

namespace {

TEST(MidiRing, FullAcrossTheWrapKeeps31999UnreadCountsTheOverrunMarksTheGapAndDiscards) {
    auto ring = std::make_unique<MidiRing>(); // three columns of 32000 words: not on the stack
    MidiRing::Entry e{};
    for (int i = 0; i < 20000; ++i) {
        ring->push(0, 0, 0);
        ring->pop(e);
    }
    for (uint32_t i = 0; i < 31999; ++i)
        ASSERT_TRUE(ring->push(0x3C3, i, i + 7));
    EXPECT_EQ(ring->RingWrite(), 19999); // 20000 + 31999 - 32000
    EXPECT_EQ(ring->unread(), 31999);
    EXPECT_FALSE(ring->push(0x3C3, 99999, 0)); // the 32000th
    EXPECT_FALSE(ring->push(0x3C3, 99998, 0));
    EXPECT_EQ(ring->overruns(), 2u);

    for (uint32_t i = 0; i < 31999; ++i)
        ASSERT_TRUE(ring->pop(e) && e.msg == 0x3C3 && e.param == i && e.stamp == i + 7 && !e.gap)
            << i;
    EXPECT_FALSE(ring->pop(e));
    EXPECT_EQ(ring->RingRead(), 19999);
    // The first message stored after the loss carries the gap mark, the next one does not.
    ring->push(0x3C3, 1, 0);
    ring->push(0x3C3, 2, 0);
    EXPECT_TRUE(ring->pop(e) && e.gap);
    EXPECT_TRUE(ring->pop(e) && !e.gap);

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
    auto ring = std::make_unique<MidiRing>();
    constexpr uint32_t Count = 200000; // several laps of the ring
    std::thread producer([&] {
        for (uint32_t i = 0; i < Count; ++i)
            while (!ring->push(0x3C3, i, ~i)) // retried here only so that nothing is lost
                std::this_thread::yield();
    });
    MidiRing::Entry e{};
    uint32_t expected = 0;
    bool inOrder = true;
    while (expected < Count) {
        if (!ring->pop(e)) {
            std::this_thread::yield();
            continue;
        }
        inOrder = inOrder && e.param == expected && e.stamp == ~expected;
        ++expected;
    }
    producer.join();
    EXPECT_TRUE(inOrder);
    EXPECT_TRUE(ring->empty());
}

} // namespace
