#include "support/ui/UnitTimeWorkbench.h"
#include "shell/ui/frmMain.h"
#include "support/ui/DrainRing.h"
#include "transport/ui/RingPollTimer.h"
#include "unit/backends/SimulatedUnitSystem.h"

WorkbenchOptions testOptions(const QTemporaryDir& folder, MidiSystem& devices,
                             RecordingNotifier& notifier, FakeTimerSource& timerSource) {
    WorkbenchOptions options;
    options.folder = toSystemPath(folder.path());
    options.loadSettings = false;
    options.simulated = true;
    options.devices = &devices;
    options.notifier = &notifier;
    options.timerSource = &timerSource;
    return options;
}

namespace {
WorkbenchOptions unitTimeOptions(UnitTimeWorkbench& bench, int langCode,
                                 SimulatedUnitSystem* unitWindow, QSize frameSize) {
    WorkbenchOptions options =
        testOptions(bench.folder, bench.link, bench.notifier, bench.timerSource);
    options.langCode = langCode;
    options.simulatedUnit = unitWindow;
    options.pollClock = &bench.unitTime;
    options.frameSize = frameSize;
    return options;
}
} // namespace

UnitTimeWorkbench::UnitTimeWorkbench(int langCode, SimulatedUnitSystem* unitWindow, QSize frameSize)
    : link(SimulatedUnitSystem::DeviceName),
      program(unitTimeOptions(*this, langCode, unitWindow, frameSize)), main(&program.frame()) {}

RingPollTimer* UnitTimeWorkbench::poller() const {
    return main->findChild<RingPollTimer*>("TimerMIDIIn", Qt::FindDirectChildrenOnly);
}

void UnitTimeWorkbench::advance(uint64_t us) {
    link.pump(us);
    unitTime.us += static_cast<int64_t>(us);
}

void UnitTimeWorkbench::pump(uint64_t us) {
    advance(us);
    drainRing(poller(), program.midi);
}

std::string UnitTimeWorkbench::path(const std::string& name) const {
    return toSystemPath(folder.path()) + kPathSeparator + name;
}
