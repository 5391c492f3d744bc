#pragma once

namespace auxiliary {

// A window's placement in twips.
struct TwipRect {
    double Top = 0;
    double Left = 0;
    double Width = 0;
    double Height = 0;
};

// The progress window's Top and Left: centred over the active child window, halves of a
// twip kept (Top = child Top + child Height / 2 - own Height / 2, likewise Left).
TwipRect progressPlacement(const TwipRect& activeChild, double ownWidth, double ownHeight);

} // namespace auxiliary
