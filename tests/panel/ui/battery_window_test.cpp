#include "panel_fixture.h"
#include <QTimer>
#include <algorithm>

namespace {

// The battery window with an engine at a steady 3000 rpm and a battery at 13.8 V.
class BatteryWindowTest : public UnitWindowTest<frmMisBatteria> {
protected:
    BatteryWindowTest() {
        link.unit.setEngine({.profile = SpeedProfile::Fixed, .fixedRpm = 3000});
        link.unit.setBattery({.volts = 13.8, .rippleVolts = 0});
    }
    // Unit time passes in steps of at most 10 s; the window's poller drains after each.
    void run(uint64_t ms) {
        for (uint64_t step = 0; ms > 0; ms -= step) {
            step = std::min<uint64_t>(ms, 10'000);
            pump(step * 1000);
            drainRing(mainPoller(), port);
        }
    }
    QPushButton* start() { return button("ComStart"); }
    QScrollBar* timeDiv() { return scroll("HScrollTempoDiv"); }
    QScrollBar* memory() { return scroll("HScrollTempoMem"); }
    void press() { click("ComStart"); }
};

TEST_F(BatteryWindowTest, RecordsUntilStopReviewsFromTheChosenSampleAndStopsTheUnitOnClosing) {
    t.texts.LangOffset = 200; // English: decimal point, thousands comma
    port.BatteryStampMode = true;
    open();
    EXPECT_EQ(memory()->maximum(), 32000);
    EXPECT_FALSE(port.BatteryStampMode);
    EXPECT_EQ(targets.battery, w);
    timeDiv()->setValue(0); // 26 ms per division, 260 ms a screen
    EXPECT_EQ(label("LabTempoDivVal"), "26 ms");
    EXPECT_EQ(t.app.BatteryTimeDivPos, 0); // remembered

    t.clock.TickCounter = 1234;
    press();
    EXPECT_EQ(start()->text(), "STOP");
    EXPECT_EQ(link.sent, (std::vector<uint32_t>{0xD5}));
    EXPECT_TRUE(link.inputStarted());
    EXPECT_EQ(t.clock.TickCounter, 0);

    run(26); // the first sample sets both extremes
    ASSERT_EQ(w->recording().lastIndex(), 0);
    // 13.8 V / 0.0797 = 173.1 -> 173 counts -> 173 * 0.0797 V = 13.788 V
    EXPECT_EQ(label("LabVMax"), "Max: 13.79 V");
    run(974); // samples at 26, 52, ... 988 ms of unit time: 38 of them
    ASSERT_EQ(w->recording().lastIndex(), 37);
    EXPECT_EQ(label("LabVBatt"), "13.79 V");
    EXPECT_EQ(label("LabRot"), "3,000 rpm"); // 12500 ticks of 1.6 us a revolution
    EXPECT_EQ(label("LabStato"), "1");       // curve 1 in bits 4-5
    EXPECT_EQ(memory()->maximum(), 37);
    // The screen moved on at 260, 520 and 780 ms; dragging the position meanwhile does not.
    EXPECT_EQ(label("LabTmpIniSca"), "00:00.78");
    memory()->setValue(3);
    EXPECT_EQ(w->screen().start, 780u);

    link.pump(260'000); // ten more samples wait in the input when STOP is pressed
    press();
    EXPECT_EQ(start()->text(), "START");
    EXPECT_EQ(link.sent, (std::vector<uint32_t>{0xD5, 0xD0}));
    run(10); // the unit's answer ends the window's turn, and the input with it
    EXPECT_FALSE(link.inputStarted());
    EXPECT_EQ(w->recording().lastIndex(), 37); // the ten were not taken
    EXPECT_EQ(w->screen().start, 780u);        // the last screen stays until the user looks back

    // Looking back starts at the chosen sample.
    timeDiv()->setValue(1); // 100 ms per division, 1 s a screen
    memory()->setValue(19); // 19 * 26 = 494 ms
    EXPECT_EQ(w->screen().start, 494u);
    EXPECT_EQ(label("LabTmpFineSca"), "00:01.49");
    timeDiv()->setValue(5); // a new time base draws again from the same sample
    EXPECT_EQ(w->screen().start, 494u);

    // The next recording starts empty. The window's own stamp counter runs only in stamp mode,
    // and wraps.
    QTimer* stampTimer = get<QTimer>("TimerMisBatteria");
    press();
    EXPECT_FALSE(stampTimer->isActive());
    run(52);
    EXPECT_EQ(w->recording().lastIndex(), 1);
    EXPECT_EQ(w->recording().stamp(1), 26u);
    press();

    port.BatteryStampMode = true;
    press();
    EXPECT_TRUE(stampTimer->isActive());
    port.BatteryStamp = frmMisBatteria::StampWrap - 1;
    QMetaObject::invokeMethod(stampTimer, "timeout");
    EXPECT_EQ(port.BatteryStamp, 0u); // wraps at 10,000,000 ms
    press();
    EXPECT_FALSE(stampTimer->isActive());

    // Closed while recording, the window stops the unit.
    press();
    t.timer.StartTimer1();
    w->subWindow()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(link.sentCount(0xD0), 4); // three STOPs' and the closing's
    EXPECT_FALSE(link.inputStarted() || t.timer.running());
    EXPECT_EQ(targets.battery, nullptr);
}

TEST_F(BatteryWindowTest, Slot32000EndsTheRecordingWithOneStopAndSilenceIsNoticed) {
    link.unit.setBattery({.volts = 13.0, .rippleVolts = 1.2, .rippleHz = 0.02});
    open();
    timeDiv()->setValue(12); // 1 minute per division
    press();
    t.timer.StartTimer1();

    run(32000 * 26 + 13); // the unit's samples 1 .. 32000 (indices 0 .. 31999)
    ASSERT_EQ(w->recording().lastIndex(), 31999);
    EXPECT_EQ(link.sentCount(0xD0), 0);

    run(100); // sample 32001 fills slot 32000; the rest never reaches the window
    EXPECT_EQ(w->recording().lastIndex(), 32000);
    EXPECT_EQ(link.sentCount(0xD0), 1);
    run(10);
    EXPECT_FALSE(link.inputStarted());
    EXPECT_FALSE(t.timer.running());
    EXPECT_EQ(start()->text(), "STOP");
    press(); // STOP now only turns the button back: the unit has been told already
    EXPECT_EQ(start()->text(), "START");
    EXPECT_EQ(link.sentCount(0xD0), 1);

    // A silent unit is noticed after three seconds, and lost input is counted.
    int64_t nowMs = 1000;
    w->setMillisecondClock([&] { return nowMs; });
    link.unit.setFaults({.silent = true});
    press();
    QLabel* notice = get<QLabel>("LabNessunDato");
    run(2900);
    nowMs += 2900;
    w->checkInput();
    EXPECT_TRUE(notice->isHidden()); // not yet three seconds
    nowMs += 1200;                   // 4.1 s without a sample
    w->checkInput();
    EXPECT_FALSE(notice->isHidden());
    EXPECT_EQ(notice->text(), QString::fromLatin1("Nessun dato dall'unit\xE0 da 4 s"));

    // The unit speaks again: the notice goes with the first sample.
    link.unit.setFaults({});
    run(60);
    EXPECT_TRUE(notice->isHidden());
    // The ring ran full meanwhile: the window says how many messages were lost.
    for (int i = 0; i < MidiRing::Size + 2; ++i)
        port.MIDIInProc(&port, MidiInData, 0xF8);
    w->checkInput();
    EXPECT_EQ(notice->text(), "Messaggi MIDI persi: 3");
    press(); // STOP: nothing is waited for any more
    EXPECT_FALSE(get<QTimer>("TimerNessunDato")->isActive());
}

} // namespace
