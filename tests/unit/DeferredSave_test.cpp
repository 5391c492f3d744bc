#include "unit/DeferredSave.h"

#include <gtest/gtest.h>

using namespace unit;

namespace {

// Save delay 300 ms, retry every 5000 ms after a failure.
TEST(DeferredSave, AChangeIsSavedOnceRestedAFailureReportedOnceAndTriedAgainLater) {
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

    // A failure is reported once; the next try comes with a new change, after the retry
    // delay, or at stop, not every tick.
    s.observe(3, 10'000);
    ASSERT_TRUE(s.due(10'300, false));
    EXPECT_TRUE(s.finished(3, "disk full", 10'300));
    EXPECT_TRUE(s.pending());
    EXPECT_FALSE(s.due(10'301, false));
    EXPECT_FALSE(s.due(15'299, false));
    EXPECT_TRUE(s.due(10'400, true));
    EXPECT_TRUE(s.due(15'300, false));
    EXPECT_FALSE(s.finished(3, "disk full", 15'300)); // not reported again
    s.observe(4, 16'000);
    EXPECT_FALSE(s.due(16'299, false));
    EXPECT_TRUE(s.due(16'300, false));
    EXPECT_FALSE(s.finished(4, "", 16'300)); // saved: everything up to revision 4
    EXPECT_FALSE(s.pending());
    s.observe(5, 17'000); // a later failure is news again
    EXPECT_TRUE(s.finished(5, "read-only folder", 17'300));
}

} // namespace
