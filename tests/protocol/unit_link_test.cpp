#include "base/AppState.h"
#include "protocol/Decoder.h"
#include "protocol/InputNotices.h"
#include "protocol/UnitLink.h"
#include "support/SimulatedUnitLink.h"
#include "transport/MidiPoller.h"
#include "transport/PortFixture.h"
#include <gtest/gtest.h>
#include <vector>

using namespace protocol;

namespace {

struct Rows : MeasurementSink {
    std::vector<MeasurementRow> rows;
    bool running() const override { return true; }
    void addRow(const MeasurementRow& row) override { rows.push_back(row); }
};

struct Holder : ModeHolder {
    std::vector<int> answers;
    void modeAnswered(int status) override { answers.push_back(status); }
    void modeTimedOut() override {}
};

// The link over the simulated unit at 3,000 rpm (a revolution every 20 ms). run() lets
// unit time pass in 10 ms steps, each drained and told to the link as the poller does.
class UnitLinkTest : public PortFixtureOver<SimulatedUnitLink> {
protected:
    UnitLinkTest() {
        fake.connect(port);
        fake.unit.setEngine({.profile = SpeedProfile::Fixed, .fixedRpm = 3000});
        targets.rotation = &rotation;
    }
    void run(int ms) {
        for (int t = 0; t < ms; t += 10) {
            fake.pump(10'000);
            pollRing(port, decoder);
            link.elapse(10);
        }
    }

    AppState app;
    DecoderTargets targets;
    Decoder decoder{port, app, notifier, targets};
    UnitLink link{port, decoder, targets};
    Rows rotation;
    Holder curve;
};

} // namespace

TEST_F(UnitLinkTest, InputRunsWhileAWindowExpectsAndAStopKeepsWhatCameBeforeIt) {
    run(100);
    EXPECT_EQ(fake.calls.inStart, 0);
    link.startRecording(RotationWindow);
    EXPECT_TRUE(port.MIDIInStarted);
    EXPECT_FALSE(port.StopMIDIPoll);
    run(200);
    const size_t polled = rotation.rows.size();
    EXPECT_GE(polled, 9u);
    // 100 ms more reach the ring but no poll: Stop decodes them before letting go.
    fake.pump(100'000);
    link.stopRecording(RotationWindow);
    EXPECT_GE(rotation.rows.size(), polled + 4);
    EXPECT_FALSE(port.MIDIInStarted);
    EXPECT_TRUE(port.StopMIDIPoll);
    EXPECT_FALSE(link.inputWanted());

    // Two users: the input stays until the second one lets go; a paused recording takes
    // nothing and goes on at the next whole revolution.
    link.startRecording(RotationWindow);
    link.startRecording(AdvanceWindow, true);
    link.stopRecording(AdvanceWindow);
    EXPECT_TRUE(port.MIDIInStarted);
    link.suspend(true);
    const size_t before = rotation.rows.size();
    run(100);
    EXPECT_EQ(rotation.rows.size(), before);
    link.suspend(false);
    run(100);
    EXPECT_GE(rotation.rows.size(), before + 4);
    link.windowClosed(RotationWindow);
    EXPECT_FALSE(port.MIDIInStarted);
}

TEST_F(UnitLinkTest, EveryWayAModeEndsBringsTheUnitBackToRunMode) {
    // Granted, then left: 0xD1 answered 0xD1, then 0xD0; the window hears the unit's answer
    // to 0xD0 before it lets the input go.
    ASSERT_TRUE(link.enterMode(5, UnitMode::Programming, &curve));
    EXPECT_TRUE(link.answerPending());
    run(20);
    EXPECT_EQ(curve.answers, std::vector<int>{0xD1});
    EXPECT_TRUE(link.answersMemory());
    EXPECT_EQ(fake.unit.mode(), UnitMode::Programming);
    link.leaveMode(5);
    EXPECT_EQ(fake.unit.mode(), UnitMode::Run);
    EXPECT_TRUE(link.expecting(5));
    run(20);
    EXPECT_FALSE(link.expecting(5));
    EXPECT_FALSE(port.MIDIInStarted);

    // The window closes while it holds the unit.
    link.enterMode(5, UnitMode::Programming, &curve);
    run(20);
    link.windowClosed(5);
    EXPECT_EQ(fake.unit.mode(), UnitMode::Run);
    EXPECT_EQ(link.holder(), 0);
    run(20); // its answer to 0xD0 comes and goes

    // A refusal (0xD1 answered 0xD0) and no answer within the second, not before, are
    // checked through the advance window's read-back: the unit ends in run mode.

    // The program ends with the panel in EEPROM access.
    link.enterMode(PanelWindow, UnitMode::EepromAccess, nullptr);
    run(20);
    EXPECT_EQ(fake.unit.mode(), UnitMode::EepromAccess);
    link.shutdown();
    EXPECT_EQ(fake.unit.mode(), UnitMode::Run);
    EXPECT_FALSE(port.MIDIInStarted);
}

TEST_F(UnitLinkTest, TheUnitServesOneWindowAtATimeAndARefusalSaysWhoHoldsIt) {
    link.startRecording(RotationWindow);
    EXPECT_EQ(link.modeBlocker(5), RotationWindow);
    const size_t sent = fake.sent.size();
    EXPECT_FALSE(link.enterMode(5, UnitMode::Programming, &curve));
    EXPECT_EQ(fake.sent.size(), sent);
    EXPECT_EQ(unitHeldNotice(link, RotationWindow, 200),
              "A measurement is being recorded (Misura Rotazione window): press Stop there");
    link.stopRecording(RotationWindow);

    ASSERT_TRUE(link.enterMode(PanelWindow, UnitMode::EepromAccess, nullptr));
    EXPECT_EQ(link.recordingBlocker(), PanelWindow);
    EXPECT_EQ(link.modeBlocker(5), PanelWindow);
    EXPECT_EQ(unitHeldNotice(link, PanelWindow, 0),
              "L'unità è in accesso EEPROM (finestra Pannello di controllo): premere "
              "EEPROM DATI/PROG EXIT in quella finestra");
    link.leaveMode(PanelWindow);
    EXPECT_EQ(link.recordingBlocker(), 0);

    // A battery recording holds the unit as well; the advance window's read-back does not
    // keep a recording from starting (the recording ends it).
    ASSERT_TRUE(link.startBatteryRecording(nullptr));
    EXPECT_EQ(link.recordingBlocker(), BatteryWindow);
    link.windowClosed(BatteryWindow);
    ASSERT_TRUE(link.enterMode(AdvanceWindow, UnitMode::Programming, nullptr));
    EXPECT_EQ(link.recordingBlocker(), 0);
}

// Whole seconds without data are told once three have passed while a recording waits.
TEST(InputSilence, CountsFromTheLastDataOnlyWhileWaiting) {
    InputSilence s;
    EXPECT_EQ(s.silentSeconds(100'000), 0);
    s.start(1000);
    const std::pair<int64_t, int64_t> rows[] = {{3999, 0}, {4000, 3}, {5999, 4}, {6000, 5}};
    for (auto [now, seconds] : rows)
        EXPECT_EQ(s.silentSeconds(now), seconds) << now;
    s.arrived(5000);
    EXPECT_EQ(s.silentSeconds(7999), 0);
    s.stop();
    EXPECT_EQ(s.silentSeconds(100'000), 0);
}
