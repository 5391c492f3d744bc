#pragma once
#include "protocol/Decoder.h"
#include "protocol/UnitLink.h"
#include "support/SimulatedUnitLink.h"
#include "support/UnitTimePollClock.h"
#include "support/ui/LinkPoller.h"
#include "support/ui/TestContext.h"
#include "transport/MidiPort.h"
#include "transport/ui/RingPollTimer.h"
#include <QApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

// A window W over the simulated unit: a port with both devices open, the decoder and its
// targets and the link. Nothing runs by itself: pump() lets unit time pass,
// poller()->pollNow() drains.
template <class W> class UnitWindowTest : public ::testing::Test {
protected:
    UnitWindowTest() {
        link.connect(port);
        ctx.decoder = &decoder;
        ctx.targets = &targets;
        ctx.link = &unitLink;
        frame.timer.setClock(&unitTime);
        targets.main = &frame;
    }
    ~UnitWindowTest() override {
        // The windows close while the port and decoder they use still exist.
        t.area.closeAllSubWindows();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void open() {
        w = new W(ctx);
        t.openChild(w);
    }
    template <class T> T* get(const char* name) const {
        T* c = w->template findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QString label(const char* name) const { return get<QLabel>(name)->text(); }
    QPushButton* button(const char* name) const { return get<QPushButton>(name); }
    QScrollBar* scroll(const char* name) const { return get<QScrollBar>(name); }
    // The poller the main window runs, here without a main window.
    RingPollTimer* poller() { return &frame.timer; }
    // Unit time passes, the poller's clock with it.
    void pump(uint64_t us) {
        link.pump(us);
        unitTime.us += static_cast<int64_t>(us);
    }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }

    TestContext t;
    SimulatedUnitLink link;
    MidiPort port{link, t.messages, t.clock};
    WindowContext ctx{t.app, t.texts, t.messages, port, t.timer, &t.frame};
    DecoderTargets targets;
    Decoder decoder{port, t.app, t.notifier, targets};
    UnitLink unitLink{port, decoder, targets};
    UnitTimePollClock unitTime;
    LinkPoller frame{port, decoder, unitLink};
    W* w = nullptr;
};
