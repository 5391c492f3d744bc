#pragma once
#include <span>

struct Workbench;
class ChildWindow;

// One picture of the guide: the window's name (the picture is <name>.png), the menu entry
// that opens it (none: the whole workbench) and what brings it into a realistic state.
struct Shot {
    const char* name;
    const char* entry;
    void (*stage)(Workbench& bench, ChildWindow* window);
};

// Every picture the guide shows, in the order they are taken.
std::span<const Shot> guideShots();
