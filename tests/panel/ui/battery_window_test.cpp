#include "battery_SimUnitFixture.h"
#include "panel/BatteryText.h"
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace {

class BatteryWindowTest : public BatteryWindowFixture {
protected:
    BatteryWindowTest() { QLocale::setDefault(QLocale::c()); }
    ~BatteryWindowTest() override { QLocale::setDefault(QLocale::system()); }

    QString label(const char* name) { return child<QLabel>(name)->text(); }
    QPushButton* start() { return child<QPushButton>("ComStart"); }
    QScrollBar* timeDiv() { return child<QScrollBar>("HScrollTempoDiv"); }
    QScrollBar* memory() { return child<QScrollBar>("HScrollTempoMem"); }
    void press() { QTest::mouseClick(start(), Qt::LeftButton); }
};

TEST_F(BatteryWindowTest, LoadsEmptyAtItsDefaultPlace) {
    t.app.BatteryTimeDivPos = 12;
    port.BatteryStampMode = true;
    open();
    EXPECT_EQ(w->windowTitle(), "Misura Dinamica Tensione Batteria");
    EXPECT_EQ(w->subWindow()->geometry(), QRect(0, 0, 653, 533)); // 9800 x 8000 twips
    EXPECT_EQ(start()->text(), "START");
    EXPECT_EQ(label("LabVMax"), "Max: 0");
    EXPECT_EQ(label("LabVMin"), "Min: 0");
    EXPECT_EQ(label("LabTmpIniSca"), "00:00:00");
    EXPECT_EQ(label("LabTmpFineSca"), "00:00:00");
    EXPECT_EQ(label("Ord_0"), "8");
    EXPECT_EQ(label("Ord_10"), "18");
    EXPECT_EQ(memory()->maximum(), 32000);
    EXPECT_EQ(memory()->value(), 0);
    EXPECT_EQ(timeDiv()->value(), 12);
    EXPECT_EQ(label("LabTempoDivVal"), "1 m");
    EXPECT_FALSE(port.BatteryStampMode);
    EXPECT_EQ(t.app.WinRec[win::Battery].State, 1);
    EXPECT_EQ(t.app.ChildCount, 1);
    EXPECT_EQ(targets.battery, w);
}

TEST_F(BatteryWindowTest, TimeBaseFollowsItsScrollBarAndIsRemembered) {
    t.app.BatteryTimeDivPos = 200; // a damaged settings byte
    open();
    EXPECT_EQ(timeDiv()->value(), 12);
    timeDiv()->setValue(0);
    EXPECT_EQ(label("LabTempoDivVal"), "26 ms");
    EXPECT_EQ(t.app.BatteryTimeDivPos, 0);
    EXPECT_EQ(label("LabTmpFineSca"), "00:00:26"); // 10 x 26 ms
    timeDiv()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(label("LabTempoDivVal"), "100 ms");
    EXPECT_EQ(label("LabTmpFineSca"), "00:01:00");
    timeDiv()->setValue(12);
    EXPECT_EQ(label("LabTempoDivVal"), "1 m");
    EXPECT_EQ(label("LabTmpFineSca"), "10:00:00");
    EXPECT_EQ(t.app.BatteryTimeDivPos, 12);
}

TEST_F(BatteryWindowTest, RecordsTheUnitsVoltageUntilStop) {
    t.app.BatteryTimeDivPos = 0; // 26 ms per division, 260 ms a screen
    open();
    t.clock.TickCounter = 1234;
    t.clock.ClockSec = 7;
    port.ShowSentMsg = true;
    press();
    EXPECT_EQ(start()->text(), "STOP");
    EXPECT_EQ(sys.sent, (std::vector<uint32_t>{0xD5}));
    EXPECT_TRUE(sys.inputStarted());
    EXPECT_TRUE(port.MIDIInDecode);
    EXPECT_FALSE(port.ShowSentMsg);
    EXPECT_EQ(t.clock.TickCounter, 0);
    EXPECT_EQ(t.clock.ClockSec, 0);
    EXPECT_EQ(label("LabVBatt"), "0");

    run(1000); // samples at 26, 52, ... 988 ms of unit time: 38 of them
    const BatteryRecording& rec = w->recording();
    ASSERT_EQ(rec.lastIndex(), 37);
    EXPECT_EQ(rec.stamp(0), 0u);         // the window's own time axis starts with the first
    EXPECT_EQ(rec.stamp(37), 37u * 26u); // then 26 ms per sample
    // 13.8 V / 0.0797 = 173.1 -> 173 counts -> 173 * 0.0797 V = 13.788 V
    EXPECT_EQ(rec.value(37), 1379);
    EXPECT_EQ(label("LabVBatt"), "13.79");
    EXPECT_EQ(label("LabVMax"), "Max: 13.79 V");
    EXPECT_EQ(label("LabVMin"), "Min: 13.79 V");
    EXPECT_EQ(label("LabRot").trimmed(), "3,000"); // 12500 ticks of 1.6 us a revolution
    EXPECT_EQ(label("LabStato"), "1");             // curve 1 in bits 4-5
    EXPECT_EQ(label("LabOnOff"), "ON");
    EXPECT_EQ(memory()->maximum(), 37);
    EXPECT_EQ(memory()->value(), 37);
    // The screen moved on at 260, 520 and 780 ms.
    EXPECT_EQ(w->screen().start, 780u);
    EXPECT_EQ(label("LabTmpIniSca"), "00:00:78");
    EXPECT_EQ(label("LabTmpFineSca"), "00:01:04");
    // Dragging the position while recording changes nothing.
    memory()->setValue(3);
    EXPECT_EQ(w->screen().start, 780u);

    press();
    EXPECT_EQ(start()->text(), "START");
    EXPECT_EQ(sys.sent, (std::vector<uint32_t>{0xD5, 0xD0}));
    EXPECT_FALSE(sys.inputStarted());
    EXPECT_EQ(memory()->value(), 0);
    EXPECT_EQ(w->screen().start, 780u); // the last screen stays until the user looks back
    EXPECT_EQ(rec.lastIndex(), 37);
}

TEST_F(BatteryWindowTest, FirstSampleSetsBothExtremes) {
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    setBattery(13.8, 0.5);
    open();
    press();
    run(26); // one sample, 26 ms after START: 13.8 + 0.5 sin(0.026 pi) = 13.841 V -> 174 counts
    ASSERT_EQ(w->recording().lastIndex(), 0);
    EXPECT_EQ(label("LabVMax"), "Max: 13,87 V"); // 174 * 0.0797 = 13.868 V
    EXPECT_EQ(label("LabVMin"), "Min: 13,87 V");
    EXPECT_EQ(label("LabVBatt"), "13,87");
}

TEST_F(BatteryWindowTest, ReviewAfterStopStartsAtTheChosenSample) {
    setBattery(13.8, 0.5);
    open();
    press();
    run(2000); // a whole ripple period of 2 s
    press();
    // Highest near 0.5 s (494 ms): 14.2999 V -> 179 counts; lowest near 1.5 s (1508 ms):
    // 13.3002 V -> 167 counts.
    EXPECT_EQ(label("LabVMax"), "Max: 14.27 V");
    EXPECT_EQ(label("LabVMin"), "Min: 13.31 V");

    timeDiv()->setValue(1); // 100 ms per division, 1 s a screen
    memory()->setValue(19); // 19 * 26 = 494 ms
    EXPECT_EQ(w->screen().start, 494u);
    EXPECT_EQ(w->screen().first, 19);
    EXPECT_EQ(label("LabVBatt"), "14.27");
    EXPECT_EQ(label("LabTmpIniSca"), "00:00:49");
    EXPECT_EQ(label("LabTmpFineSca"), "00:01:49");
    // A new time base draws again from the same sample.
    timeDiv()->setValue(5);
    EXPECT_EQ(w->screen().start, 494u);
    EXPECT_EQ(label("LabTmpFineSca"), "00:10:49");
}

TEST_F(BatteryWindowTest, ClosingWhileRecordingStopsTheUnitAndCountsOut) {
    open();
    w->subWindow()->move(30, 45);
    press();
    run(100);
    t.timer.StartTimer1();
    w->subWindow()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(sys.sentCount(0xD0), 1);
    EXPECT_FALSE(sys.inputStarted());
    EXPECT_FALSE(t.timer.running());
    EXPECT_EQ(targets.battery, nullptr);
    EXPECT_EQ(t.app.ChildCount, 0);
    const WindowRecord& rec = t.app.WinRec[win::Battery];
    EXPECT_EQ(rec.State, 0);
    EXPECT_EQ(rec.Left, 30 * 15);
    EXPECT_EQ(rec.Top, 45 * 15);
    EXPECT_EQ(rec.Width, 9795); // 653 px
    EXPECT_TRUE(t.notifier.warnings.empty());
}

TEST_F(BatteryWindowTest, OwnStampCounterRunsOnlyInStampMode) {
    open();
    QTimer* stampTimer = child<QTimer>("TimerMisBatteria");
    press();
    EXPECT_FALSE(stampTimer->isActive());
    press();

    port.BatteryStampMode = true;
    press();
    EXPECT_TRUE(stampTimer->isActive());
    EXPECT_EQ(stampTimer->interval(), 1);
    port.BatteryStamp = frmMisBatteria::StampWrap - 2;
    QMetaObject::invokeMethod(stampTimer, "timeout");
    EXPECT_EQ(port.BatteryStamp, frmMisBatteria::StampWrap - 1);
    QMetaObject::invokeMethod(stampTimer, "timeout");
    EXPECT_EQ(port.BatteryStamp, 0u); // wraps at 10,000,000 ms
    press();
    EXPECT_FALSE(stampTimer->isActive());
    EXPECT_EQ(sys.sentCount(0xD0), 2);
}

struct MainPoller : MainWindowSink {
    int enabled = 0;
    void inputActivity() override {}
    void enableInputPoller() override { ++enabled; }
};

TEST_F(BatteryWindowTest, TheMainWindowsPollerDrainsWhenThereIsOne) {
    MainPoller main;
    targets.main = &main;
    open();
    press();
    EXPECT_EQ(main.enabled, 1);
    EXPECT_FALSE(poller()->isActive());
    targets.main = nullptr;
}

TEST_F(BatteryWindowTest, LeftoversOfTheLastRecordingAreNotTakenIntoTheNext) {
    open();
    press();
    run(260);
    const int first = w->recording().lastIndex();
    sys.pump(260'000); // ten more samples wait in the input when STOP is pressed
    press();
    EXPECT_EQ(w->recording().lastIndex(), first);
    press();
    run(52);
    EXPECT_EQ(w->recording().lastIndex(), 1);
    EXPECT_EQ(w->recording().stamp(1), 26u);
}

} // namespace
