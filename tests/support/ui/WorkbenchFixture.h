#pragma once
#include "shell/ui/frmMain.h"
#include "support/ui/DrainRing.h"
#include "support/ui/UnitTimeWorkbench.h"
#include "transport/ui/RingPollTimer.h"
#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QString>
#include <QTest>
#include <gtest/gtest.h>
#include <ostream>

using namespace protocol;

// Readable QStrings in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// The window tests' one fixture: the program over the simulated unit in unit time (t), its
// shared objects under their usual names, windows opened through the frame's menus as a user
// does. Nothing runs by itself: pump() lets unit time pass and the frame's poller drain.
class WorkbenchFixture : public ::testing::Test {
protected:
    // langCode 0: Italian, as the settings' defaults say. unitWindow: the simulated unit the
    // Preferences menu's window shows (none: no window); it outlives the fixture.
    explicit WorkbenchFixture(QSize frameSize = {}, int langCode = 0,
                              SimulatedUnitSystem* unitWindow = nullptr)
        : t(langCode, unitWindow, frameSize) {}
    ~WorkbenchFixture() override {
        t.notifier.nextAnswer = Notifier::Answer::No; // nothing kept as the test tears down
    }

    // Triggers a menu entry and returns the window of type W it opened (or brought forward).
    template <class W> W* openFromMenu(const char* entry) {
        main->action(entry)->trigger();
        return main->findChild<W*>();
    }
    bool entryEnabled(const char* entry) const { return main->action(entry)->isEnabled(); }
    RingPollTimer* mainPoller() const { return t.poller(); }
    // Unit time passes, the poller's clock with it, and the frame's poller drains the input.
    void pump(uint64_t us) { t.pump(us); }
    template <class T> static T* get(QWidget* w, const QString& name) {
        T* c = w->findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name.toStdString();
        return c;
    }

    UnitTimeWorkbench t;
    SimulatedUnitLink& link = t.link;
    UnitTimePollClock& unitTime = t.unitTime;
    MidiPort& port = t.program.midi;
    DecoderTargets& targets = t.program.targets;
    Decoder& decoder = t.program.decoder;
    UnitLink& unitLink = t.program.link;
    WindowContext& ctx = t.program.ctx;
    const QPointer<frmMain> main{t.main};
};
