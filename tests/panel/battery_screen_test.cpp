#include "panel/BatteryRecording.h"
#include "panel/BatteryScreen.h"
#include <gtest/gtest.h>

using namespace panel;

namespace {
// Samples every 26 ms from firstMs on.
BatteryRecording recorded(const std::vector<int>& values, uint32_t firstMs = 0) {
    BatteryRecording rec;
    rec.start();
    uint32_t stamp = firstMs;
    for (int v : values)
        rec.add(v, stamp);
    return rec;
}
} // namespace

TEST(BatteryScreen, ScaleTimeAxisAndScreens) {
    EXPECT_EQ(scaleLabel(0), "8 V"); // the bottom line
    EXPECT_EQ(scaleLabel(10), "18 V");
    EXPECT_EQ(scaleLineY(10), 40);     // the top line is the origin, 40 twips down
    EXPECT_EQ(scaleLineY(0), 5040);    // ten divisions of 500 twips below it
    EXPECT_EQ(voltageY(1379), 2145.0); // 40 + (18.00 - 13.79) * 500
    EXPECT_EQ(voltageY(2032), 40.0);   // off the top: drawn on the frame
    EXPECT_EQ(voltageY(0), 5040.0);

    // One division of 700 twips per time base.
    EXPECT_EQ(sampleX(130, 0, 26), 3540.0); // 5 divisions
    EXPECT_EQ(sampleX(2600, 2000, 100), 4240.0);
    EXPECT_EQ(sampleX(234, 260, 26), -660.0); // before the screen: left of the grid
    EXPECT_EQ(screenSpan(60000), 600000);

    // The screen moves on by whole screens of ten divisions.
    EXPECT_EQ(screenStartFor(259, 0, 26), 0u);
    EXPECT_EQ(screenStartFor(260, 0, 26), 260u);
    EXPECT_EQ(screenStartFor(1000, 0, 26), 780u);  // a gap of several screens
    EXPECT_EQ(screenStartFor(100, 260, 26), 260u); // earlier than the screen: unchanged
    EXPECT_EQ(screenStartFor(5000, 0, 0), 0u);     // no time base: the screen stays
    EXPECT_EQ(screenStartFor(25, 0, 1), 20u);      // 1 ms per division: screens of 10 ms
}

TEST(BatteryScreen, ReviewScreenEndsWithTheLastSampleOnIt) {
    const BatteryRecording rec = recorded(std::vector<int>(30, 1200)); // 0 .. 754 ms
    EXPECT_EQ(lastOnScreen(rec, 0, 0, 26), 10);    // 260 ms lies on the right edge
    EXPECT_EQ(lastOnScreen(rec, 5, 130, 26), 15);  // 130 + 260 = 390 = sample 15
    EXPECT_EQ(lastOnScreen(rec, 25, 650, 26), 29); // runs out of samples first
    EXPECT_EQ(lastOnScreen(rec, 30, 780, 26), 29); // nothing from 30 on
    // A recording whose first sample came at 1,000 ms has none on the screen 0 .. 260 ms.
    EXPECT_EQ(lastOnScreen(recorded({1200, 1200}, 1000), 0, 0, 26), -1);
}

TEST(BatteryScreen, TraceFoldsSamplesSharingAPixelColumn) {
    // 2600 ms per division: 26 ms is 7 twips, so x = 40, 47, 54, 61, 68.
    const BatteryRecording rec = recorded({1000, 1100, 900, 1200, 1000});
    const std::vector<Point> all = tracePoints(rec, 0, 4, 0, 2600, 1);
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(all[1], (Point{47, 3540})); // 11.00 V: 40 + 7 * 500
    // A rising voltage draws upwards: 12.00 V sits a division (500 twips) above 11.00 V.
    EXPECT_EQ(all[3].y, all[1].y - 500);
    // One column of 100 twips holds all five: first, lowest (9.00 V), highest (12.00 V)
    // and last remain, in time order; 11.00 V between them adds nothing to the picture.
    const std::vector<Point> folded = tracePoints(rec, 0, 4, 0, 2600, 100);
    EXPECT_EQ(folded, (std::vector<Point>{{40, 4040}, {54, 4540}, {61, 3040}, {68, 4040}}));
    EXPECT_TRUE(tracePoints(rec, 3, 2, 0, 2600, 1).empty());
    EXPECT_EQ(tracePoints(rec, 4, 9, 0, 2600, 1).size(), 1u); // held to the recording

    // Of equal extremes the first is kept: 9.00 V at x 47 (not 54), 12.00 V at 61 (not 68).
    const BatteryRecording ties = recorded({1000, 900, 900, 1200, 1200, 1000});
    EXPECT_EQ(tracePoints(ties, 0, 5, 0, 2600, 100),
              (std::vector<Point>{{40, 4040}, {47, 4540}, {61, 3040}, {75, 4040}}));
    // A column no wider than nothing is a twip: every sample stays.
    EXPECT_EQ(tracePoints(ties, 0, 5, 0, 2600, 0).size(), 6u);
}
