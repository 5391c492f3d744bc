#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace panel {

class BatteryRecording;

// Geometry of the battery grid inside Picture1, in twips: ten time divisions across, ten
// voltage divisions of 500 twips down, the grid's corner 40 twips in from the top left. The
// eleven horizontal lines read 18 V at the top down to 8 V at the bottom, 1 V apart.

inline constexpr int Divisions = 10;
inline constexpr int OriginX = 40;
inline constexpr int OriginY = 40;
inline constexpr int DivWidth = 700;
inline constexpr int DivHeight = 500;
inline constexpr int GridWidth = Divisions * DivWidth;
inline constexpr int GridHeight = Divisions * DivHeight;
// Picture1 holds the grid with the same margin on every side.
inline constexpr int PictureWidth = GridWidth + 2 * OriginX;
inline constexpr int PictureHeight = GridHeight + 2 * OriginY;
inline constexpr int BottomVolts = 8; // line 0, the bottom one
inline constexpr int TopVolts = BottomVolts + Divisions;

// Text of the scale label Ord(index) beside horizontal line index (0 bottom .. 10 top):
// "8 V" .. "18 V".
std::string scaleLabel(int index);
// Height of horizontal line index (0 bottom .. 10 top), twips from the top of Picture1.
int scaleLineY(int index);

// Milliseconds one screen spans: ten divisions.
int64_t screenSpan(int32_t msPerDiv);
// x of a sample stamped t on the screen that starts at screenStart, twips from the left of
// Picture1 (left of the grid for a sample before the screen start).
double sampleX(uint32_t t, uint32_t screenStart, int32_t msPerDiv);
// y of a raw voltage (hundredths of a volt), twips from the top of Picture1; a voltage off
// the scale is drawn on the nearer edge of the grid.
double voltageY(int raw);
// The start of the screen that shows a sample stamped t: the present start, moved on by
// whole screens of ten divisions while t lies at or beyond its right edge.
uint32_t screenStartFor(uint32_t t, uint32_t screenStart, int32_t msPerDiv);
// Last sample from first on that still lies on the screen starting at screenStart (no later
// than the recording's last sample); first - 1 when none does.
int lastOnScreen(const BatteryRecording& rec, int first, uint32_t screenStart, int32_t msPerDiv);

struct Point {
    double x;
    double y;
    bool operator==(const Point&) const = default;
};
// The trace of samples first..last as a polyline in twips. Samples falling in one column of
// columnWidth twips (one pixel) are folded into the first, lowest, highest and last of them,
// so a screen of thousands of samples draws as a few hundred points and looks the same.
std::vector<Point> tracePoints(const BatteryRecording& rec, int first, int last,
                               uint32_t screenStart, int32_t msPerDiv, double columnWidth);

} // namespace panel
