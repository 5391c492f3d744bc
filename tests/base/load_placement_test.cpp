#include "base/LoadPlacement.h"

#include <gtest/gtest.h>

using namespace base;

namespace {
using NeverPlaced = LoadPlacement::NeverPlaced;
using Maxima = LoadPlacement::Maxima;

void expectPlace(const WindowRecord& r, int top, int left, int width, int height) {
    EXPECT_EQ(r.Top, top);
    EXPECT_EQ(r.Left, left);
    EXPECT_EQ(r.Width, width);
    EXPECT_EQ(r.Height, height);
    EXPECT_EQ(r.State, 1);
}
} // namespace

// The notebook: the maxima are not kept in the settings file, so the first opening of every
// run takes Top 0, Left 0, 12000 x 9000 whatever was stored; a second opening keeps its place.
TEST(LoadPlacement, FirstOpeningInARunIgnoresTheStoredPlaceLaterOnesKeepIt) {
    const LoadPlacement notebook = LoadPlacement::ofSize(12000, 9000)
                                       .neverPlacedWhen(NeverPlaced::FirstInRun)
                                       .withMaxima(Maxima::WhenUnset);
    const WindowRecord first = placedAtLoad({500, 700, 3000, 2000, 0, 0, 0, 0}, notebook);
    expectPlace(first, 0, 0, 12000, 9000);
    EXPECT_EQ(first.MaxWidth, 12000);
    EXPECT_EQ(first.MaxHeight, 9000);

    const WindowRecord again = placedAtLoad({750, 1500, 3000, 2000, 12000, 9000, 0, 0}, notebook);
    expectPlace(again, 750, 1500, 3000, 2000);
}

// The coil editor: its maxima always become 12150 x 7620; a record never placed (no width or
// no height) gets 0, 0 and that size. The notes window looks at the width alone.
TEST(LoadPlacement, NeverPlacedByWidthOrBySizeAndMaximaSetOrKept) {
    const LoadPlacement coil = LoadPlacement::ofSize(12150, 7620).withMaxima(Maxima::Set);
    const WindowRecord placed = placedAtLoad({100, 200, 5000, 4000, 1, 1, 0, 0}, coil);
    expectPlace(placed, 100, 200, 5000, 4000);
    EXPECT_EQ(placed.MaxWidth, 12150);
    EXPECT_EQ(placed.MaxHeight, 7620);
    expectPlace(placedAtLoad({100, 200, 5000, 0, 0, 0, 0, 0}, coil), 0, 0, 12150, 7620);

    const LoadPlacement notes =
        LoadPlacement::ofSize(12000, 9000).neverPlacedWhen(NeverPlaced::NoWidth);
    const WindowRecord heightless = placedAtLoad({100, 200, 5000, 0, 0, 0, 0, 0}, notes);
    expectPlace(heightless, 100, 200, 5000, 0);
    EXPECT_EQ(heightless.MaxWidth, 0); // kept
    expectPlace(placedAtLoad({100, 200, 0, 4000, 0, 0, 0, 0}, notes), 0, 0, 12000, 9000);
}

// The fourth curve editor (window 5) never placed stands 900 twips down and right; its
// maxima are its own, not its default size. Maxima "when unset" replace only a 0.
TEST(LoadPlacement, OwnDefaultPlaceOwnMaximaAndMaximaOnlyWhereUnset) {
    const WindowRecord curve = placedAtLoad(
        {}, LoadPlacement::ofSize(13200, 7000).at(900, 900).withMaxima(Maxima::Set, 14100, 8500));
    expectPlace(curve, 900, 900, 13200, 7000);
    EXPECT_EQ(curve.MaxWidth, 14100);
    EXPECT_EQ(curve.MaxHeight, 8500);

    const WindowRecord rotation =
        placedAtLoad({0, 0, 16000, 10000, 20000, 0, 0, 0},
                     LoadPlacement::ofSize(16000, 10000).withMaxima(Maxima::WhenUnset));
    EXPECT_EQ(rotation.MaxWidth, 20000);
    EXPECT_EQ(rotation.MaxHeight, 10000);
}
