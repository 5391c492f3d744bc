#pragma once
#include "base/AppState.h"
#include "base/ShowMsg.h"
#include "base/Texts.h"
#include "protocol/Decoder.h"
#include "protocol/UnitLink.h"
#include "shell/ui/frmMain.h"
#include "support/FakeTimerSource.h"
#include "support/RecordingNotifier.h"
#include "support/SimulatedUnitLink.h"
#include "timing/PrecisionClock.h"
#include "timing/modTimerExact.h"
#include "transport/MidiPort.h"
#include "unit/backends/SimulatedUnitSystem.h"
#include <QTemporaryDir>
#include <cstdint>
#include <memory>

class ChildWindow;

// The program as Main wires it, started in a fresh temporary folder with the simulated unit
// chosen for output and input. The unit runs only when told (run), so every picture shows
// the same unit time; message boxes are recorded, not shown.
struct Workbench {
    explicit Workbench(int langCode);
    ~Workbench();
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    // Lets ms of unit time pass, then every running window poller takes what arrived and the
    // windows show it.
    void run(uint64_t ms);
    // Opens a window through its menu entry, as the user does.
    ChildWindow* open(const char* entry);
    // Closes every child window (their unsaved work is kept: questions answer No).
    void closeAll();

    QTemporaryDir folder;
    AppState app;
    Texts texts;
    RecordingNotifier notifier;
    MessageService messages{texts, notifier};
    PrecisionClock clock;
    FakeTimerSource timerSource;
    modTimerExact timer{clock, timerSource};
    SimulatedUnitLink link;
    MidiPort midi{link, messages, clock};
    SimulatedUnitSystem unitDevice; // what the "Simulated unit" window shows and sets
    DecoderTargets targets;
    Decoder decoder{midi, app, notifier, targets};
    UnitLink unitLink{midi, decoder, targets};
    WindowContext ctx{app,     texts,    messages, midi,    timer,
                      nullptr, &decoder, &targets, nullptr, &unitLink};
    std::unique_ptr<frmMain> main;
};
