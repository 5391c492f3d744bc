#include "base/MenuCaptions.h"
#include <gtest/gtest.h>

// Filled texts in both languages are checked where they are shown (transfer progress, the
// no-data notice); here a number without a field stays as it is.
TEST(DesignText, ANumberWithoutAFieldStays) {
    EXPECT_EQ(designText("transferDoneCurve", 0, {"1"}),
              "Curva 1 scritta in %2 e verificata in %3");
}
