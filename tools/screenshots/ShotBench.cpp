#include "ShotBench.h"
#include "panel/ui/frmPannelloControllo.h"
#include "shell/ui/frmMain.h"
#include <QApplication>
#include <algorithm>

using namespace base;
using namespace panel;
using namespace shell;

ShotBench::ShotBench(int langCode) : bench(langCode, &unitDevice, QSize(1100, 980)) {
    bench.notifier.nextAnswer = Notifier::Answer::No;
    uint32_t handle = 0;
    unitDevice.outOpen(0, handle); // its window shows it running
    QApplication::processEvents();
}

void ShotBench::run(uint64_t ms) {
    for (uint64_t step = 0; ms > 0; ms -= step) {
        step = std::min<uint64_t>(ms, 1000);
        bench.pump(step * 1000);
    }
    // The control panel shows its monitor on a timer of its own: show it now.
    for (frmPannelloControllo* panel : main->findChildren<frmPannelloControllo*>())
        panel->flushMonitor();
    QApplication::processEvents();
}

ChildWindow* ShotBench::open(const char* entry) {
    ChildWindow* w = main->openChild(entry);
    QApplication::processEvents();
    return w;
}
