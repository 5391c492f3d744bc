#include "base/LoadPlacement.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace base;

namespace {
using NeverPlaced = LoadPlacement::NeverPlaced;
using Maxima = LoadPlacement::Maxima;
using Place = std::tuple<int, int, int, int, int, int>; // Top, Left, Width, Height, maxima
} // namespace

TEST(LoadPlacement, NeverPlacedRecordsTakeTheDefaultPlaceAndMaximaAreSetKeptOrFilledIn) {
    // The notebook: its maxima are not kept in the settings file, so the first opening of a
    // run takes 0, 0, 12000 x 9000 whatever was stored; a second opening keeps its place.
    const LoadPlacement notebook = LoadPlacement::ofSize(12000, 9000)
                                       .neverPlacedWhen(NeverPlaced::FirstInRun)
                                       .withMaxima(Maxima::WhenUnset);
    // The coil editor: maxima always 12150 x 7620; no width or no height is never placed.
    const LoadPlacement coil = LoadPlacement::ofSize(12150, 7620).withMaxima(Maxima::Set);
    // The notes window looks at the width alone.
    const LoadPlacement notes =
        LoadPlacement::ofSize(12000, 9000).neverPlacedWhen(NeverPlaced::NoWidth);
    // The fourth curve editor stands 900 twips down and right, with maxima of its own.
    const LoadPlacement curve =
        LoadPlacement::ofSize(13200, 7000).at(900, 900).withMaxima(Maxima::Set, 14100, 8500);
    const LoadPlacement rotation =
        LoadPlacement::ofSize(16000, 10000).withMaxima(Maxima::WhenUnset);
    const struct {
        WindowRecord stored;
        LoadPlacement policy;
        Place placed;
    } cases[] = {
        {{500, 700, 3000, 2000, 0, 0, 0, 0}, notebook, {0, 0, 12000, 9000, 12000, 9000}},
        {{750, 1500, 3000, 2000, 12000, 9000, 0, 0},
         notebook,
         {750, 1500, 3000, 2000, 12000, 9000}},
        {{100, 200, 5000, 4000, 1, 1, 0, 0}, coil, {100, 200, 5000, 4000, 12150, 7620}},
        {{100, 200, 5000, 0, 0, 0, 0, 0}, coil, {0, 0, 12150, 7620, 12150, 7620}},
        {{100, 200, 0, 4000, 0, 0, 0, 0}, coil, {0, 0, 12150, 7620, 12150, 7620}},
        {{100, 200, 1, 0, 3, 4, 0, 0}, notes, {100, 200, 1, 0, 3, 4}},
        {{100, 200, 0, 4000, 0, 0, 0, 0}, notes, {0, 0, 12000, 9000, 0, 0}},
        {{}, curve, {900, 900, 13200, 7000, 14100, 8500}},
        {{0, 0, 16000, 10000, 20000, 0, 0, 0}, rotation, {0, 0, 16000, 10000, 20000, 10000}},
    };
    for (const auto& c : cases) {
        const WindowRecord r = placedAtLoad(c.stored, c.policy);
        EXPECT_EQ(Place(r.Top, r.Left, r.Width, r.Height, r.MaxWidth, r.MaxHeight), c.placed)
            << &c - cases;
        EXPECT_EQ(r.State, 1);
    }
}
