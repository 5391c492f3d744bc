#include "base/ScreenPlacement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace base {

namespace {

// Gap between two intervals, 0 when they overlap.
int64_t gap(int64_t aFrom, int64_t aTo, int64_t bFrom, int64_t bTo) {
    if (aTo < bFrom) return bFrom - aTo;
    if (bTo < aFrom) return aFrom - bTo;
    return 0;
}

int64_t overlap(int64_t aFrom, int64_t aTo, int64_t bFrom, int64_t bTo) {
    return std::max<int64_t>(0, std::min(aTo, bTo) - std::max(aFrom, bFrom));
}

} // namespace

ScreenRect placeOnScreen(const ScreenRect& window, const std::vector<ScreenRect>& screens,
                         int stripHeight, int minVisible) {
    if (screens.empty()) return window;
    const int64_t left = window.x;
    const int64_t right = left + window.width;
    const int64_t top = window.y;
    const int64_t bottom = top + stripHeight;
    const int64_t needed = std::min<int64_t>(minVisible, window.width);

    const ScreenRect* nearest = nullptr;
    int64_t nearestDistance = std::numeric_limits<int64_t>::max();
    for (const ScreenRect& s : screens) {
        const int64_t sRight = int64_t{s.x} + s.width;
        const int64_t sBottom = int64_t{s.y} + s.height;
        if (overlap(left, right, s.x, sRight) >= needed && top >= s.y && bottom <= sBottom)
            return window;
        const int64_t dx = gap(left, right, s.x, sRight);
        const int64_t dy = gap(top, bottom, s.y, sBottom);
        const int64_t distance = dx * dx + dy * dy;
        if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = &s;
        }
    }
    ScreenRect moved = window;
    const auto fit = [](int64_t at, int64_t size, int64_t from, int64_t length) {
        return static_cast<int>(std::clamp(at, from, from + std::max<int64_t>(0, length - size)));
    };
    moved.x = fit(window.x, window.width, nearest->x, nearest->width);
    moved.y = fit(window.y, window.height, nearest->y, nearest->height);
    return moved;
}

} // namespace base
