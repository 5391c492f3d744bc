#include "panel/BatteryScreen.h"
#include "panel/BatteryRecording.h"
#include <algorithm>
#include <array>
#include <cmath>

namespace panel {

std::string scaleLabel(int index) {
    return std::to_string(BottomVolts + index) + " V";
}

int scaleLineY(int index) {
    return OriginY + (Divisions - index) * DivHeight;
}

int64_t screenSpan(int32_t msPerDiv) {
    return static_cast<int64_t>(Divisions) * msPerDiv;
}

double sampleX(uint32_t t, uint32_t screenStart, int32_t msPerDiv) {
    const double dt =
        static_cast<double>(static_cast<int64_t>(t) - static_cast<int64_t>(screenStart));
    return OriginX + dt * DivWidth / msPerDiv;
}

double voltageY(int raw) {
    // 500 twips per volt, 18 V on the top line.
    const double y = OriginY + (TopVolts * 100.0 - raw) * DivHeight / 100.0;
    return std::clamp(y, static_cast<double>(OriginY), static_cast<double>(OriginY + GridHeight));
}

uint32_t screenStartFor(uint32_t t, uint32_t screenStart, int32_t msPerDiv) {
    const int64_t span = screenSpan(msPerDiv);
    const int64_t behind = static_cast<int64_t>(t) - static_cast<int64_t>(screenStart);
    if (span <= 0 || behind < span) return screenStart;
    return static_cast<uint32_t>(screenStart + (behind / span) * span);
}

int lastOnScreen(const BatteryRecording& rec, int first, uint32_t screenStart, int32_t msPerDiv) {
    const int64_t end = static_cast<int64_t>(screenStart) + screenSpan(msPerDiv);
    int i = std::max(first, 0);
    const int last = rec.lastIndex();
    while (i <= last && static_cast<int64_t>(rec.stamp(i)) <= end)
        ++i;
    return i - 1;
}

std::vector<Point> tracePoints(const BatteryRecording& rec, int first, int last,
                               uint32_t screenStart, int32_t msPerDiv, double columnWidth) {
    std::vector<Point> out;
    first = std::max(first, 0);
    last = std::min(last, rec.lastIndex());
    if (first > last) return out;
    if (!(columnWidth > 0)) columnWidth = 1;

    const auto pointAt = [&](int i) {
        return Point{sampleX(rec.stamp(i), screenStart, msPerDiv), voltageY(rec.value(i))};
    };
    // One column at a time: its first, lowest, highest and last sample, in time order.
    int firstI = 0, lowI = 0, highI = 0, lastI = 0;
    double lowY = 0, highY = 0, column = 0;
    const auto flush = [&] {
        std::array<int, 4> keep{firstI, std::min(lowI, highI), std::max(lowI, highI), lastI};
        int previous = -1;
        for (int i : keep) {
            if (i == previous) continue;
            out.push_back(pointAt(i));
            previous = i;
        }
    };
    for (int i = first; i <= last; ++i) {
        const Point p = pointAt(i);
        const double c = std::floor(p.x / columnWidth);
        if (i > first && c == column) {
            if (p.y > lowY) { // y grows downwards: the lowest voltage
                lowY = p.y;
                lowI = i;
            }
            if (p.y < highY) {
                highY = p.y;
                highI = i;
            }
            lastI = i;
            continue;
        }
        if (i > first) flush();
        column = c;
        firstI = lowI = highI = lastI = i;
        lowY = highY = p.y;
    }
    flush();
    return out;
}

} // namespace panel
