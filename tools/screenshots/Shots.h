#pragma once
#include <span>

namespace base {
class ChildWindow;
}

struct ShotBench;

// One picture of the guide: its name (the picture is <name>.png), what brings the window
// into a realistic state, the objectName of the window grabbed when it is not the one the
// entry opens (a view of it, or a window it opens in turn), and for such a view the picture
// whose entry opens the window. The entry is the menu table's for that picture; none: the
// whole workbench. A shot whose entry opens nothing yet is not taken.
struct Shot {
    const char* name;
    void (*stage)(ShotBench& bench, base::ChildWindow* window);
    const char* window = nullptr;
    const char* via = nullptr;

    // The menu entry that opens the window, or nullptr for the whole workbench.
    const char* entry() const;
};

// Every picture the guide shows, in the order they are taken.
std::span<const Shot> guideShots();
