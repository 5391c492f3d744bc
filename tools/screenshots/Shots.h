#pragma once
#include <span>

struct ShotBench;
class ChildWindow;

// One picture of the guide: its name (the picture is <name>.png), the menu entry that opens
// the window (none: the whole workbench), what brings it into a realistic state, and the
// objectName of the window grabbed when it is not the one the entry opens (a view of it, or
// a window it opens in turn). A shot whose entry opens nothing yet is not taken.
struct Shot {
    const char* name;
    const char* entry;
    void (*stage)(ShotBench& bench, ChildWindow* window);
    const char* window = nullptr;
};

// Every picture the guide shows, in the order they are taken.
std::span<const Shot> guideShots();
