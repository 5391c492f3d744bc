#pragma once
#include "app/ui/DocumentDispatch.h"
#include "app/ui/WindowRegistry.h"
#include "app/ui/frmMain.h"
#include "measure/ui/frmMisRot.h"
#include "midi/Decoder.h"
#include "midi/MidiPort.h"
#include "midi/ui/RingPollTimer.h"
#include "support/SimulatedUnitLink.h"
#include "support/ui/TestContext.h"
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

// The program as a user meets it: the main window with its menus, the decoder and the
// simulated unit behind the MIDI port. Nothing runs by itself: run() lets unit time pass
// and drains the input as the main window's poller does; settle() lets the screen refresh.
class RotationWindowTest : public ::testing::Test {
protected:
    RotationWindowTest() {
        QLocale::setDefault(QLocale::c());
        link.inNames = {"Unit"};
        link.outNames = {"Unit"};
        port.MIDIInDevice = 0;
        port.MIDIOutDevice = 0;
        port.OpenMIDIIn();
        port.OpenMIDIOut();
        ctx.decoder = &decoder;
        ctx.targets = &targets;
        link.unit.setEngine({.profile = SpeedProfile::Fixed, .fixedRpm = 3000});
        main = std::make_unique<frmMain>(ctx, decoder);
        targets.main = main.get();
        registerWindows(*main, nullptr);
        main->MDIForm_Load();
        main->resize(1300, 900);
        main->show();
        QApplication::setActiveWindow(main.get());
    }
    ~RotationWindowTest() override {
        t.app.Closing = true; // no questions while the test tears down
        main->mdiArea()->closeAllSubWindows();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        targets.main = nullptr;
        main.reset();
        QLocale::setDefault(QLocale::system());
    }

    // The rotation window, opened from the View menu.
    frmMisRot* openFromMenu() {
        main->action("mnuMisRot")->trigger();
        w = main->findChild<frmMisRot*>();
        return w;
    }
    template <class T> T* get(const char* name) const {
        T* c = w->template findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QPushButton* button(const char* name) const { return get<QPushButton>(name); }
    QString caption(const char* name) const { return button(name)->text(); }
    QString label(const char* name) const { return get<QLabel>(name)->text(); }
    QScrollBar* scroll(const char* name) const { return get<QScrollBar>(name); }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    // A key typed into whatever has the focus.
    void type(Qt::Key key) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, key);
    }
    bool menuEnabled(const char* name) const { return main->action(name)->isEnabled(); }

    RingPollTimer* poller() const { return main->findChild<RingPollTimer*>("TimerMIDIIn"); }
    // Unit time passes in steps of at most 2 s (no more than the input ring holds), the
    // main window's poller draining after each.
    void run(uint64_t ms) {
        for (uint64_t step = 0; ms > 0; ms -= step) {
            step = std::min<uint64_t>(ms, 2000);
            link.pump(step * 1000);
            poller()->pollNow();
        }
    }
    // The event loop runs long enough for the window's screen refresh.
    void settle() {
        QApplication::processEvents(); // what is pending (first paint, fonts) comes first
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < frmMisRot::RefreshIntervalMs + 20)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    int listRows() const { return get<QAbstractItemView>("List1")->model()->rowCount(); }
    QString listRow(int i) const {
        const auto* m = get<QAbstractItemView>("List1")->model();
        return m->data(m->index(i, 0)).toString();
    }
    QStringList liveLines() const {
        return get<QPlainTextEdit>("Text1")->toPlainText().split('\n', Qt::SkipEmptyParts);
    }

    TestContext t;
    SimulatedUnitLink link;
    MidiPort port{link, t.messages, t.clock};
    WindowContext ctx{t.app, t.texts, t.messages, port, t.timer, nullptr};
    DecoderTargets targets;
    Decoder decoder{port, t.app, t.notifier, targets};
    std::unique_ptr<frmMain> main;
    frmMisRot* w = nullptr;
};
