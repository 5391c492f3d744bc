#include "base/MenuCaptions.h"
#include <gtest/gtest.h>

using namespace base;

// The fields go in by number, whatever their order in the text; a number without a field and
// a lone "%" stay as they are.
TEST(DesignText, FillsNumberedFieldsInEitherLanguage) {
    EXPECT_EQ(designText("transferDoneCurve", 0, {"2", "MSX", "3,5 s"}),
              "Curva 2 scritta in MSX e verificata in 3,5 s");
    EXPECT_EQ(designText("transferDoneCurve", 200, {"2", "MSX", "3.5 s"}),
              "Curve 2 written into MSX and verified in 3.5 s");
    EXPECT_EQ(designText("transferLeft", 0, {"42%", "1 min 05 s"}), "42% - mancano 1 min 05 s");
    EXPECT_EQ(designText("transferDoneCurve", 0, {"1"}),
              "Curva 1 scritta in %2 e verificata in %3");
    EXPECT_EQ(designText("noticeNoData", 0, {"4"}), "Nessun dato dall'unità da 4 s");
}
