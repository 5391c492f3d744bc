#pragma once
#include "shell/ui/Workbench.h"
#include "support/FakeTimerSource.h"
#include "support/RecordingNotifier.h"
#include "support/SimulatedUnitLink.h"
#include "support/UnitTimePollClock.h"
#include <QSize>
#include <QTemporaryDir>
#include <cstdint>
#include <string>

using namespace measure;
using namespace shell;

namespace transport {
class RingPollTimer;
}
namespace shell {
class frmMain;
}

// A test's workbench: started in a fresh folder without reading settings, the first device of
// each list chosen, boxes recorded, Timer Exact firing only when the test fires it.
WorkbenchOptions testOptions(const QTemporaryDir& folder, MidiSystem& devices,
                             RecordingNotifier& notifier, FakeTimerSource& timerSource);

// The program as main wires it, started in a fresh temporary folder over the simulated unit,
// which is device 0 both ways. Nothing runs by itself: the unit, Timer Exact and the frame's
// poller move only in the unit time the caller lets pass; message boxes are recorded.
struct UnitTimeWorkbench {
    // langCode 0: Italian, as the settings' defaults say. unitWindow: the simulated unit the
    // Preferences menu's window shows (none: no window).
    explicit UnitTimeWorkbench(int langCode = 0, SimulatedUnitSystem* unitWindow = nullptr,
                               QSize frameSize = {});

    // The frame's input poller (TimerMIDIIn).
    RingPollTimer* poller() const;
    // Unit time passes: the unit runs, and the poller's clock with it.
    void advance(uint64_t us);
    // Unit time passes, then the frame's poller takes what arrived.
    void pump(uint64_t us);
    // A path inside the start folder.
    std::string path(const std::string& name) const;

    QTemporaryDir folder;
    RecordingNotifier notifier;
    FakeTimerSource timerSource;
    UnitTimePollClock unitTime;
    SimulatedUnitLink link;
    Workbench program;
    frmMain* const main;
    // The shared objects, under the names the window tests use.
    AppState& app = program.app;
    CurrentMeasurement& measurement = program.measurement;
    Texts& texts = program.texts;
    MessageService& messages = program.messages;
    PrecisionClock& clock = program.clock;
    modTimerExact& timer = program.timer;
};
