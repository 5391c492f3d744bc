#pragma once
#include "midi/Decoder.h"
#include "midi/DecoderSinks.h"
#include "midi/FakeMidiSystem.h"
#include "midi/MidiPort.h"
#include "midi/ui/RingPollTimer.h"
#include "panel/ui/frmMisBatteria.h"
#include "support/ui/TestContext.h"
#include "support/SimulatedUnitLink.h"
#include <QApplication>
#include <QMdiSubWindow>
#include <algorithm>
#include <gtest/gtest.h>

// The battery window over the simulated unit: a port with both devices open, the decoder
// and its targets, an engine at a steady 3000 rpm and a battery at 13.8 V.
class BatteryWindowFixture : public ::testing::Test {
protected:
    TestContext t;
    SimulatedUnitLink sys;
    MidiPort port{sys, t.messages, t.clock};
    WindowContext ctx{t.app, t.texts, t.messages, port, t.timer, &t.frame};
    DecoderTargets targets;
    Decoder decoder{port, t.app, t.notifier, targets};
    frmMisBatteria* w = nullptr;

    BatteryWindowFixture() {
        sys.inNames = {"Unit"};
        sys.outNames = {"Unit"};
        port.MIDIInDevice = 0;
        port.MIDIOutDevice = 0;
        port.OpenMIDIIn();
        port.OpenMIDIOut();
        ctx.decoder = &decoder;
        ctx.targets = &targets;
        EngineSettings engine;
        engine.profile = SpeedProfile::Fixed;
        engine.fixedRpm = 3000;
        sys.unit.setEngine(engine);
        setBattery(13.8, 0);
    }
    ~BatteryWindowFixture() override {
        // The window's close handler still needs the port and the decoder.
        t.area.closeAllSubWindows();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void setBattery(double volts, double ripple, double hz = 0.5) {
        BatterySettings b;
        b.volts = volts;
        b.rippleVolts = ripple;
        b.rippleHz = hz;
        sys.unit.setBattery(b);
    }
    void open() {
        w = new frmMisBatteria(ctx);
        t.area.addSubWindow(w);
        w->Form_Load();
        w->subWindow()->show();
    }
    template <class T> T* child(const char* name) { return w->findChild<T*>(name); }
    RingPollTimer* poller() { return child<RingPollTimer>("TimerMIDIIn"); }
    // Unit time passes in steps of at most 10 s; the window's poller drains after each.
    void run(uint64_t ms) {
        while (ms > 0) {
            const uint64_t step = std::min<uint64_t>(ms, 10'000);
            sys.pump(step * 1000);
            poller()->pollNow();
            ms -= step;
        }
    }
};
