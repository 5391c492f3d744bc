#include "base/ScreenPlacement.h"

#include <gtest/gtest.h>

#include <utility>

using namespace base;

// Two monitors side by side: 1920 x 1040 usable at 0,0 and 1280 x 1024 to its right; a menu
// bar 40 px high must show for a place to stand.
TEST(ScreenPlacement, APlaceWhoseMenuBarShowsStandsOthersComeBackOnTheNearestScreen) {
    const std::vector<ScreenRect> screens{{0, 0, 1920, 1040}, {1920, 0, 1280, 1024}};
    const std::pair<ScreenRect, std::pair<int, int>> cases[] = {
        {{100, 50, 800, 600}, {100, 50}},
        {{-700, 10, 800, 600}, {-700, 10}},    // 100 px of the bar show
        {{3100, 500, 800, 600}, {3100, 500}},  // right edge of monitor 2
        {{-2000, 0, 800, 600}, {0, 0}},        // 2000 px left of the first monitor
        {{-701, 300, 800, 600}, {0, 300}},     // only 99 px show: moved in
        {{200, -10, 800, 600}, {200, 0}},      // a title bar above the top cannot be grabbed
        {{2500, 5000, 800, 600}, {2400, 424}}, // onto monitor 2, whole: 3200 - 800, 1024 - 600
        {{-5000, -5000, 4000, 3000}, {0, 0}},  // larger than the screen: at its corner
        // below both: monitor 1 is 960 px down, monitor 2 120 px across and 976 down
        {{1000, 2000, 800, 600}, {1000, 440}},
    };
    for (const auto& [window, at] : cases) {
        const ScreenRect placed = placeOnScreen(window, screens, 40);
        EXPECT_EQ(std::pair(placed.x, placed.y), at) << window.x << "," << window.y;
        EXPECT_EQ(placed.width, window.width);
    }
}
