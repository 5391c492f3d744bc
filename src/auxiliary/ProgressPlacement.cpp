#include "auxiliary/ProgressPlacement.h"

namespace auxiliary {

TwipRect progressPlacement(const TwipRect& activeChild, double ownWidth, double ownHeight) {
    TwipRect r;
    r.Top = activeChild.Top + activeChild.Height / 2 - ownHeight / 2;
    r.Left = activeChild.Left + activeChild.Width / 2 - ownWidth / 2;
    r.Width = ownWidth;
    r.Height = ownHeight;
    return r;
}

} // namespace auxiliary
