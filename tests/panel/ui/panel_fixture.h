#pragma once
#include "midi/Decoder.h"
#include "midi/FakeMidiSystem.h"
#include "midi/MidiPort.h"
#include "midi/ui/RingPollTimer.h"
#include "panel/ui/frmPannelloControllo.h"
#include "support/ui/TestContext.h"
#include "support/SimulatedUnitLink.h"
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

// The main window's part: it hands the sent messages on to the open panel.
struct PanelPortEvents : MidiPortEvents {
    QPointer<frmPannelloControllo> panel;
    void showSentMessage(const std::string& hex) override {
        if (panel) panel->showSentMessage(hex);
    }
};

class PanelWindowTest : public ::testing::Test {
protected:
    PanelWindowTest() {
        link.outNames = {"Unit Out"};
        link.inNames = {"Unit In"};
        port.MIDIOutDevice = 0;
        port.MIDIInDevice = 0;
        port.OpenMIDIOut();
        port.OpenMIDIIn();
        port.setEvents(&events);
        ctx.decoder = &decoder;
        ctx.targets = &targets;
    }
    ~PanelWindowTest() override {
        // The windows close while the port and decoder they use still exist.
        t.area.closeAllSubWindows();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    frmPannelloControllo* open() {
        w = new frmPannelloControllo(ctx);
        t.openChild(w);
        events.panel = w;
        return w;
    }
    bool closeWindow() {
        QPointer<QMdiSubWindow> sub = w->subWindow();
        const bool closed = sub->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return closed;
    }

    template <class T> T* get(const char* name) const {
        T* c = w->findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QPushButton* button(const char* name) const { return get<QPushButton>(name); }
    QLineEdit* edit(const char* name) const { return get<QLineEdit>(name); }
    QLabel* label(const char* name) const { return get<QLabel>(name); }
    QScrollBar* scroll(const char* name) const { return get<QScrollBar>(name); }
    RingPollTimer* poller() const { return get<RingPollTimer>("TimerMIDIIn"); }
    QString text1() const { return get<QPlainTextEdit>("Text1")->toPlainText(); }
    QString lastLine() const { return text1().split('\n').constLast(); }

    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    // Replaces the whole text of a box by typing, one key at a time.
    void type(const char* name, const char* keys) {
        QLineEdit* e = edit(name);
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(e, keys);
    }
    // Clicks the arrow at the bottom (+1) or the top (-1) of a scroll bar.
    void stepDown(const char* name) {
        QScrollBar* s = scroll(name);
        QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(s->width() / 2, s->height() - 3));
    }
    void stepUp(const char* name) {
        QScrollBar* s = scroll(name);
        QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(s->width() / 2, 3));
    }
    // The unit answers and the panel's TimerMIDIIn takes the answers, as one tick does.
    bool pump() {
        link.pump(1000);
        return poller()->pollNow();
    }
    void enterAccess() {
        click("ComEEPROM");
        pump();
    }

    TestContext t;
    SimulatedUnitLink link;
    MidiPort port{link, t.messages, t.clock};
    PanelPortEvents events;
    WindowContext ctx{t.app, t.texts, t.messages, port, t.timer, &t.frame};
    DecoderTargets targets;
    Decoder decoder{port, t.app, t.notifier, targets};
    frmPannelloControllo* w = nullptr;
};
