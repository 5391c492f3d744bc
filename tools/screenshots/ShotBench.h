#pragma once
#include "shell/ui/frmMain.h"
#include "support/ui/UnitTimeWorkbench.h"
#include "unit/backends/SimulatedUnitSystem.h"
#include <cstdint>

using namespace base;
using namespace unit;
using namespace shell;

// The program as main wires it, over the simulated unit in unit time, so every picture shows
// the same unit time; message boxes are recorded (questions answer No), not shown. The
// "Simulated unit" window shows a unit of its own, running.
struct ShotBench {
    explicit ShotBench(int langCode);

    // Lets ms of unit time pass, the frame's poller taking what arrived after every second;
    // then the windows show it.
    void run(uint64_t ms);
    // Opens a window through its menu entry, as the user does.
    ChildWindow* open(const char* entry);

    SimulatedUnitSystem unitDevice;
    UnitTimeWorkbench bench;
    frmMain* const main = bench.main;
    SimulatedUnitLink& link = bench.link;
    AppState& app = bench.app;
};
