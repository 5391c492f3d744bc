#pragma once
#include "protocol/Decoder.h"
#include "protocol/UnitLink.h"
#include "shell/ui/DocumentDispatch.h"
#include "shell/ui/WindowRegistry.h"
#include "shell/ui/frmMain.h"
#include "support/SimulatedUnitLink.h"
#include "support/UnitTimePollClock.h"
#include "support/ui/DrainRing.h"
#include "support/ui/TestContext.h"
#include "transport/MidiPort.h"
#include "transport/ui/RingPollTimer.h"
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline std::ostream& operator<<(std::ostream& os, const QString& s) {
    return os << s.toStdString();
}

// The main window over the simulated unit, windows opened through its menus. Nothing runs
// by itself: run() lets unit time pass and drains the input as the main window's poller
// does.
class MeasureWindowTest : public ::testing::Test {
protected:
    MeasureWindowTest() {
        link.inNames = {"Unit"};
        link.outNames = {"Unit"};
        port.MIDIInDevice = 0;
        port.MIDIOutDevice = 0;
        port.OpenMIDIIn();
        port.OpenMIDIOut();
        ctx.decoder = &decoder;
        ctx.targets = &targets;
        ctx.link = &unitLink;
        main = std::make_unique<frmMain>(ctx, decoder);
        targets.main = main.get();
        registerWindows(*main, nullptr);
        // A test that forgets to answer a file dialog fails instead of waiting for a user.
        main->documents().setChooser([](const FileDialogRequest&) {
            ADD_FAILURE() << "unexpected file dialog";
            return QString();
        });
        main->MDIForm_Load();
        mainPoller()->setClock(&unitTime);
        main->show();
        // The program's window is the active one, as after start-up on a desktop.
        main->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(main.get()));
    }
    ~MeasureWindowTest() override {
        t.notifier.nextAnswer = Notifier::Answer::No; // nothing kept as the test tears down
        main->mdiArea()->closeAllSubWindows();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        targets.main = nullptr;
        main.reset();
    }

    template <class W> W* openFromMenu(const char* entry) {
        main->action(entry)->trigger();
        return main->findChild<W*>();
    }
    RingPollTimer* mainPoller() const {
        return main->findChild<RingPollTimer*>("TimerMIDIIn", Qt::FindDirectChildrenOnly);
    }
    // Unit time passes in steps of 20 ms; the main window's poller drains after each.
    void run(uint64_t ms) {
        for (uint64_t done = 0; done < ms; done += 20)
            pump(20'000);
    }
    // Unit time passes, the poller's clock with it, and the poller drains the input.
    void pump(uint64_t us) {
        link.pump(us);
        unitTime.us += static_cast<int64_t>(us);
        drainRing(mainPoller(), port);
    }
    template <class T> T* get(QWidget* w, const char* name) const {
        T* c = w->findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    void click(QWidget* w, const char* name) {
        QTest::mouseClick(get<QPushButton>(w, name), Qt::LeftButton);
    }
    QString text(QWidget* w, const char* name) { return get<QLabel>(w, name)->text(); }
    QString caption(QWidget* w, const char* name) { return get<QPushButton>(w, name)->text(); }

    TestContext t;
    SimulatedUnitLink link;
    MidiPort port{link, t.messages, t.clock};
    WindowContext ctx{t.app, t.texts, t.messages, port, t.timer, nullptr};
    DecoderTargets targets;
    Decoder decoder{port, t.app, t.notifier, targets};
    UnitLink unitLink{port, decoder, targets};
    UnitTimePollClock unitTime;
    std::unique_ptr<frmMain> main;
};
