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
    if (msPerDiv <= 0 || behind < span) return screenStart;
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
    struct Column {
        double index;
        int firstI, lowI, highI, lastI;
    };
    const auto columnOf = [&](int i) {
        return Column{std::floor(pointAt(i).x / columnWidth), i, i, i, i};
    };
    const auto flush = [&](const Column& c) {
        std::array<int, 4> keep{c.firstI, std::min(c.lowI, c.highI), std::max(c.lowI, c.highI),
                                c.lastI};
        const auto kept = std::unique(keep.begin(), keep.end()); // in time order already
        for (auto i = keep.begin(); i != kept; ++i)
            out.push_back(pointAt(*i));
    };
    Column column = columnOf(first);
    for (int i = first + 1; i <= last; ++i) {
        const Point p = pointAt(i);
        if (std::floor(p.x / columnWidth) != column.index) {
            flush(column);
            column = columnOf(i);
            continue;
        }
        if (p.y > pointAt(column.lowI).y) column.lowI = i; // y grows downwards: the lowest voltage
        if (p.y < pointAt(column.highI).y) column.highI = i;
        column.lastI = i;
    }
    flush(column);
    return out;
}

} // namespace panel
