#pragma once
#include <vector>

namespace base {

// Keeping a restored window reachable: a placement stored on another monitor, or one that
// was damaged, must not leave the main window's menu bar where no screen shows it.
struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The window's frame as stored, the screens' usable areas and the height of the strip at
// the frame's top that holds the title and the menu bar (pixels). When that strip shows at
// least minVisible pixels (or the whole width of a narrower window) at full height on some
// screen, the placement stands; otherwise the window keeps its size and moves the least
// distance that puts it whole onto the screen nearest to the strip (top-left corner first
// when it is larger than that screen).
ScreenRect placeOnScreen(const ScreenRect& window, const std::vector<ScreenRect>& screens,
                         int stripHeight, int minVisible = 100);

} // namespace base
