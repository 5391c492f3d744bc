#pragma once

namespace auxiliary {

struct AboutOrigin {
    int Top = 0;
    int Left = 0;
};

// The about box centred over the main window's client area (twips): each difference is
// truncated to a whole twip, then halved with integer division.
AboutOrigin aboutPlacement(double clientWidth, double clientHeight, double ownWidth,
                           double ownHeight);

} // namespace auxiliary
