#include "base/LoadPlacement.h"

namespace base {

WindowRecord placedAtLoad(WindowRecord rec, const LoadPlacement& p) {
    using NeverPlaced = LoadPlacement::NeverPlaced;
    using Maxima = LoadPlacement::Maxima;
    bool fresh = false;
    switch (p.neverPlaced) {
    case NeverPlaced::NoSize:
        fresh = rec.Width <= 0 || rec.Height <= 0;
        break;
    case NeverPlaced::NoWidth:
        fresh = rec.Width <= 0;
        break;
    case NeverPlaced::FirstInRun:
        fresh = rec.MaxWidth == 0;
        break;
    }
    if (fresh) {
        rec.Left = p.left;
        rec.Top = p.top;
        rec.Width = p.width;
        rec.Height = p.height;
    }
    const int16_t maxWidth = p.maxWidth ? p.maxWidth : p.width;
    const int16_t maxHeight = p.maxHeight ? p.maxHeight : p.height;
    if (p.maxima == Maxima::Set || (p.maxima == Maxima::WhenUnset && rec.MaxWidth == 0))
        rec.MaxWidth = maxWidth;
    if (p.maxima == Maxima::Set || (p.maxima == Maxima::WhenUnset && rec.MaxHeight == 0))
        rec.MaxHeight = maxHeight;
    rec.State = 1;
    return rec;
}

} // namespace base
