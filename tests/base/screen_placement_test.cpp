#include "base/ScreenPlacement.h"

#include <gtest/gtest.h>

using namespace base;

namespace {

// Two monitors side by side: 1920 x 1040 usable at 0,0 and 1280 x 1024 to its right.
const std::vector<ScreenRect> kScreens{{0, 0, 1920, 1040}, {1920, 0, 1280, 1024}};

TEST(ScreenPlacement, APlaceWhoseMenuBarShowsStands) {
    for (const ScreenRect w : {ScreenRect{100, 50, 800, 600},      // well inside
                               ScreenRect{-700, 10, 800, 600},     // 100 px of the bar show
                               ScreenRect{3100, 500, 800, 600}}) { // right edge of monitor 2
        const ScreenRect placed = placeOnScreen(w, kScreens, 40);
        EXPECT_EQ(placed.x, w.x);
        EXPECT_EQ(placed.y, w.y);
    }
}

TEST(ScreenPlacement, AMenuBarOffEveryScreenComesBackOnTheNearest) {
    // -30000 twips at 15 twips a pixel: 2000 px left of the first monitor.
    ScreenRect placed = placeOnScreen({-2000, 0, 800, 600}, kScreens, 40);
    EXPECT_EQ(placed.x, 0);
    EXPECT_EQ(placed.y, 0);
    EXPECT_EQ(placed.width, 800);
    // Only 99 px of the bar show on the left: moved in to x 0.
    placed = placeOnScreen({-701, 300, 800, 600}, kScreens, 40);
    EXPECT_EQ(placed.x, 0);
    EXPECT_EQ(placed.y, 300);
    // Above the top edge the title bar cannot be grabbed: down to y 0.
    placed = placeOnScreen({200, -10, 800, 600}, kScreens, 40);
    EXPECT_EQ(placed.x, 200);
    EXPECT_EQ(placed.y, 0);
    // Far below the second monitor: onto it, whole (x up to 3200 - 800, y up to 1024 - 600).
    placed = placeOnScreen({2500, 5000, 800, 600}, kScreens, 40);
    EXPECT_EQ(placed.x, 2400);
    EXPECT_EQ(placed.y, 424);
    // A window larger than the screen is put at the screen's corner.
    placed = placeOnScreen({-5000, -5000, 4000, 3000}, kScreens, 40);
    EXPECT_EQ(placed.x, 0);
    EXPECT_EQ(placed.y, 0);
}

} // namespace
