#include "Workbench.h"
#include "base/ui/ChildWindow.h"
#include "panel/ui/frmPannelloControllo.h"
#include "shell/ui/WindowRegistry.h"
#include "transport/ui/RingPollTimer.h"
#include <QApplication>
#include <QDir>
#include <QMdiArea>

Workbench::Workbench(int langCode) {
    app.setAppFolder(toSystemPath(QDir::toNativeSeparators(folder.path())));
    app.LangCode = static_cast<uint8_t>(langCode);
    texts.LangOffset = (langCode - 1) * 200;
    app.MsgTitle = texts.text(113);
    notifier.nextAnswer = Notifier::Answer::No;

    // The simulated unit is device 0 both ways, as "--simulated" chooses it.
    link.outNames = {SimulatedUnitSystem::DeviceName};
    link.inNames = {SimulatedUnitSystem::DeviceName};
    midi.MIDIOutDevice = 0;
    midi.MIDIInDevice = 0;
    midi.enumerateAndOpen();
    uint32_t handle = 0;
    unitDevice.outOpen(0, handle); // its window shows it running

    main = std::make_unique<frmMain>(ctx, decoder);
    targets.main = main.get();
    registerWindows(*main, nullptr, &unitDevice);
    main->MDIForm_Load();
    main->resize(1100, 980);
    main->show();
    QApplication::processEvents();
}

Workbench::~Workbench() {
    closeAll();
    main.reset();
    unitDevice.stop();
}

void Workbench::run(uint64_t ms) {
    for (uint64_t step = 0; ms > 0; ms -= step) {
        step = std::min<uint64_t>(ms, 1000);
        link.pump(step * 1000);
        for (RingPollTimer* poller : main->findChildren<RingPollTimer*>())
            if (poller->isActive()) poller->pollNow();
    }
    // The control panel shows its monitor on a timer of its own: show it now.
    for (frmPannelloControllo* panel : main->findChildren<frmPannelloControllo*>())
        panel->flushMonitor();
    QApplication::processEvents();
}

ChildWindow* Workbench::open(const char* entry) {
    ChildWindow* w = main->openChild(entry);
    QApplication::processEvents();
    return w;
}

void Workbench::closeAll() {
    if (!main) return;
    main->mdiArea()->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}
