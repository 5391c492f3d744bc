#include "unit/DeferredSave.h"

#include <gtest/gtest.h>

using namespace unit;

namespace {

// Save delay 300 ms, retry every 5000 ms after a failure.
TEST(DeferredSave, AChangeIsSavedOnceItHasRested) {
    DeferredSave s(300, 5000);
    s.observe(0, 0);
    EXPECT_FALSE(s.due(10'000, false)); // nothing changed
    s.observe(1, 1000);
    EXPECT_FALSE(s.due(1299, false));
    s.observe(2, 1200); // a further change starts the wait again
    EXPECT_FALSE(s.due(1499, false));
    EXPECT_TRUE(s.due(1500, false));
    EXPECT_FALSE(s.finished(2, "", 1500));
    EXPECT_FALSE(s.pending());
    EXPECT_FALSE(s.due(9000, true)); // nothing left, even when stopping
}

TEST(DeferredSave, AFailureIsReportedOnceAndTheChangeIsTriedAgainAtTheNextChance) {
    DeferredSave s(300, 5000);
    s.observe(1, 0);
    ASSERT_TRUE(s.due(300, false));
    EXPECT_TRUE(s.finished(1, "disk full", 300)); // reported
    EXPECT_TRUE(s.pending());
    // Not every tick: the next try comes with a new change, after the retry delay, or at stop.
    EXPECT_FALSE(s.due(301, false));
    EXPECT_FALSE(s.due(5299, false));
    EXPECT_TRUE(s.due(400, true));
    EXPECT_TRUE(s.due(5300, false));
    EXPECT_FALSE(s.finished(1, "disk full", 5300)); // not reported again
    s.observe(2, 6000);
    EXPECT_FALSE(s.due(6299, false));
    EXPECT_TRUE(s.due(6300, false));
    EXPECT_FALSE(s.finished(2, "", 6300)); // saved: everything up to revision 2
    EXPECT_FALSE(s.pending());
    // A later failure is news again.
    s.observe(3, 7000);
    EXPECT_TRUE(s.finished(3, "read-only folder", 7300));
}

} // namespace
