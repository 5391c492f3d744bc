#pragma once
#include "base/WindowRecord.h"
#include <cstdint>

namespace base {

// How a child window takes its place from its WinRec record when it loads. The windows
// differ only in what this says: their default size and place, which record counts as
// never placed, and what becomes of the record's maxima.
struct LoadPlacement {
    int16_t width = 0; // default size, twips
    int16_t height = 0;
    int16_t left = 0; // where a window never placed appears
    int16_t top = 0;

    enum class NeverPlaced {
        NoSize,     // width or height 0
        NoWidth,    // width 0
        FirstInRun, // maxima 0: the first opening of a run, whatever was stored at exit
    };
    NeverPlaced neverPlaced = NeverPlaced::NoSize;

    enum class Maxima {
        Keep,      // left as they are
        Set,       // always the given maxima
        WhenUnset, // each one that is 0 becomes the given one
    };
    Maxima maxima = Maxima::Keep;
    int16_t maxWidth = 0; // 0: the default size
    int16_t maxHeight = 0;

    static LoadPlacement ofSize(int16_t defaultWidth, int16_t defaultHeight) {
        LoadPlacement p;
        p.width = defaultWidth;
        p.height = defaultHeight;
        return p;
    }
    LoadPlacement& at(int16_t newLeft, int16_t newTop) {
        left = newLeft;
        top = newTop;
        return *this;
    }
    LoadPlacement& neverPlacedWhen(NeverPlaced rule) {
        neverPlaced = rule;
        return *this;
    }
    LoadPlacement& withMaxima(Maxima rule, int16_t newMaxWidth = 0, int16_t newMaxHeight = 0) {
        maxima = rule;
        maxWidth = newMaxWidth;
        maxHeight = newMaxHeight;
        return *this;
    }
};

// The record as the window shows it: the default place and size for a record never placed,
// the maxima as the policy says, and State 1 (open).
WindowRecord placedAtLoad(WindowRecord rec, const LoadPlacement& policy);

} // namespace base
