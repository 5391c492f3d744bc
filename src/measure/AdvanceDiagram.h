#pragma once
#include "measure/AdvanceRow.h"
#include <optional>
#include <string>

namespace measure {

// The advance diagram's geometry, in twips: advance against engine speed. The speed axis
// runs from speedLow to speedHigh thousand rpm, the advance axis from advanceLow to
// advanceHigh tens of degrees; a scale is the size of one such step and is recomputed only
// when its upper limit is above the lower one (equal limits leave it as it was).
struct AdvanceDiagram {
    static constexpr int Left = 500;
    static constexpr int Bottom = 6200;
    static constexpr int TopMargin = 200;
    static constexpr int RightMargin = 300;
    // Scroll-bar ranges of the limits.
    static constexpr int SpeedMax = 10;  // thousand rpm
    static constexpr int AdvanceMax = 9; // tens of degrees

    int width = 0; // of the picture
    int height = 0;
    int speedLow = 0, speedHigh = SpeedMax;
    int advanceLow = 0, advanceHigh = 5;
    int hScale = 0; // twips of 1000 rpm
    int vScale = 0; // twips of 10 degrees

    int right() const { return width - RightMargin; }
    int top() const { return TopMargin; }
    // A new picture size: both scales from the current limits.
    void resize(int pictureWidth, int pictureHeight);
    // A limit moved: the scale follows when the range is not empty.
    void setSpeedLimits(int low, int high);
    void setAdvanceLimits(int low, int high);

    struct Position {
        int x, y;
    };
    // Where a point lies in the picture; nothing when it is outside the axes' ranges.
    std::optional<Position> place(const AdvancePoint& p) const;
    // Where the value v (rpm, or tenths of a degree) lies on its axis, not limited.
    int xOf(double rpm) const;
    int yOf(double tenths) const;
};

// The axis labels in the language: the speed axis in rpm ("1.500", "1,500"; the unit
// beside the axis), the advance axis in degrees ("30°").
std::string speedAxisLabel(int thousands, int langOffset);
std::string advanceAxisLabel(int tens);

} // namespace measure
