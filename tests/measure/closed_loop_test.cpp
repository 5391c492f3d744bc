#include "base/AppState.h"
#include "base/ShowMsg.h"
#include "base/Texts.h"
#include "measure/ClosedLoop.h"
#include "protocol/Decoder.h"
#include "support/RecordingNotifier.h"
#include "support/SimulatedUnitLink.h"
#include "timing/PrecisionClock.h"
#include "transport/MidiPoller.h"
#include "transport/MidiPort.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using closedloop::compare;
using closedloop::programmedAdvance;
using closedloop::referenceCurve;

// Entry 17 (1000 rpm) holds 300 counts of 3.2 us: its low byte 44 and bit 5 of flag byte 0;
// entry 106 (9900 rpm) holds 100.
curve::Table table() {
    curve::Table t{};
    t[17] = 44;
    t[0] = 1 << 5;
    t[106] = 100;
    return t;
}

} // namespace

TEST(ClosedLoop, TheTablesAdvanceAtASpeedAndTheDrawnCurve) {
    const curve::Table t = table();
    // 300 x 3.2 us at 1000 rpm: 0.96 ms of a 60 ms revolution, 5.76 degrees.
    EXPECT_NEAR(*programmedAdvance(t, 1000), 5.76, 1e-9);
    // The same count through the step: at 1099 rpm 6.33024 degrees.
    EXPECT_NEAR(*programmedAdvance(t, 1099), 6.33024, 1e-9);
    EXPECT_FALSE(programmedAdvance(t, 1100).has_value()); // entry 18 holds 0
    EXPECT_FALSE(programmedAdvance(t, 999).has_value());  // entry 16
    // Past 9,900 rpm the last entry holds: 100 x 3.2 us at 12,000 rpm is 23.04 degrees.
    EXPECT_NEAR(*programmedAdvance(t, 12000), 23.04, 1e-9);

    // Drawn in tenths: 5.76, 6.33, 19.008 and 19.198 degrees.
    std::vector<std::pair<int64_t, int64_t>> drawn;
    for (const AdvancePoint& p : referenceCurve(t))
        drawn.emplace_back(p.rpm, p.tenths);
    EXPECT_EQ(drawn, (std::vector<std::pair<int64_t, int64_t>>{
                         {1000, 58}, {1099, 63}, {9900, 190}, {9999, 192}}));
}

TEST(ClosedLoop, EachRowsDifferenceAndTheLargestWithItsSpeed) {
    RowStore rows(kAdvanceRowLength);
    rows.append("     1  1,000   5.9  0.983    60.000 00:00:060,000 ");
    rows.append("     2  1,050   6.0  0.952    57.143 00:00:117,143 "); // 6.048 programmed
    rows.append("     3  1,050               57.143 00:00:174,286 ");   // no advance
    rows.append("     4  1,200   7.0  0.972    50.000 00:00:224,286 "); // entry 19 holds 0
    std::vector<std::optional<double>> diffs;
    closedloop::Summary s = compare(rows, table(), &diffs);
    ASSERT_EQ(diffs.size(), 4u);
    EXPECT_NEAR(*diffs[0], 0.14, 1e-9);
    EXPECT_NEAR(*diffs[1], -0.048, 1e-9);
    EXPECT_FALSE(diffs[2].has_value());
    EXPECT_FALSE(diffs[3].has_value());
    EXPECT_EQ(s.compared, 2u);
    EXPECT_NEAR(s.largest, 0.14, 1e-9);
    EXPECT_EQ(s.rpmOfLargest, 1000);

    // The largest by size, whatever its sign: 5.0 against 6.048 at 1,050 rpm.
    rows.append("     5  1,050   5.0  0.794    57.143 00:00:281,429 ");
    s = compare(rows, table(), nullptr);
    EXPECT_EQ(s.compared, 3u);
    EXPECT_NEAR(s.largest, -1.048, 1e-9);
    EXPECT_EQ(s.rpmOfLargest, 1050);
}

namespace {

using Outcome = closedloop::TableReadBack::Outcome;

// The port over the simulated unit, replies reaching the wait through the decoder. MSX
// holds 3, 10, 17, ... (i * 7 + 3) in curve 2's entries; MDX holds zeros there.
struct ReadBackRig {
    ReadBackRig() {
        link.connect(port);
        targets.addReplyListener(&wait);
        link.unit.setEngine({.profile = SpeedProfile::Fixed, .fixedRpm = 2000});
        UnitEeprom eeprom = link.unit.eeprom();
        for (int i = 0; i < curve::StoredEntries; ++i) {
            eeprom.msx[static_cast<size_t>(113 + i)] = static_cast<uint8_t>(i * 7 + 3);
            eeprom.mdx[static_cast<size_t>(113 + i)] = 0;
        }
        link.unit.setEeprom(eeprom);
        port.MIDIInDecode = true;
        port.StopMIDIPoll = false;
        port.StartMIDIIn();
    }
    // 10 ms of unit time, the input drained, one tick; until the read-back ends.
    Outcome run(int maxTicks = 1000) {
        Outcome outcome = Outcome::Running;
        for (int tick = 0; tick < maxTicks && outcome == Outcome::Running; ++tick) {
            link.pump(10'000);
            pollRing(port, decoder);
            unitLink.elapse(10);
            outcome = readBack.tick(10);
        }
        return outcome;
    }
    // The messages of revolution bursts (everything but mode answers) the unit sends in ms.
    int streamedIn(uint64_t ms) {
        link.unit.advance(ms * 1000);
        int revolutionMessages = 0;
        for (const uint32_t m : link.unit.takeOutput())
            if ((m & 0xF0) != 0xD0) ++revolutionMessages;
        return revolutionMessages;
    }
    // The input restarted after a pause: what the unit said meanwhile is lost.
    void restartInput() {
        link.pump(10'000);
        port.StartMIDIIn();
    }

    AppState app;
    Texts texts;
    RecordingNotifier notifier;
    MessageService messages{texts, notifier};
    PrecisionClock clock;
    SimulatedUnitLink link;
    MidiPort port{link, messages, clock};
    DecoderTargets targets;
    Decoder decoder{port, app, notifier, targets};
    UnitLink unitLink{port, decoder, targets};
    UnitReplyWait wait;
    closedloop::TableReadBack readBack{port, wait, &unitLink};
};

} // namespace

TEST(ClosedLoop, ReadsACurvesTableBackFromTheChosenModule) {
    ReadBackRig r;
    // The unit answers no memory request in run mode: the read-back has to ask for
    // programming mode first and give the unit back to run mode at the end.
    r.readBack.start(false, 2); // MSX, curve 2
    ASSERT_EQ(r.link.sent, std::vector<uint32_t>{0xD1});
    EXPECT_EQ(r.link.unit.mode(), UnitMode::Programming);
    ASSERT_EQ(r.run(), Outcome::Completed);
    for (int i = 0; i < curve::StoredEntries; ++i)
        ASSERT_EQ(r.readBack.table()[static_cast<size_t>(i)], (i * 7 + 3) & 0xFF) << i;
    EXPECT_EQ(r.readBack.table()[107], 0);

    // 0xD1, 107 reads, 0xD0. MSX reads are 0x8C; address 113 is data1 0x71; address 219
    // (0xDB) carries its bit 7 in status bit 1: 0x8E with data1 0x5B.
    ASSERT_EQ(r.link.sent.size(), 109u);
    EXPECT_EQ(r.link.sent[1], 0x718Cu);
    EXPECT_EQ(r.link.sent[107], 0x5B8Eu);
    EXPECT_EQ(r.link.sent.back(), 0xD0u);
    EXPECT_EQ(r.link.unit.mode(), UnitMode::Run);
    // Back in run mode the revolutions stream again: at 2000 rpm a 30 ms revolution of
    // five messages, so 100 ms bring at least three bursts.
    EXPECT_GE(r.streamedIn(100), 15);

    // Curve 1 of MDX: addresses 6..112, read with 0x88.
    r.link.sent.clear();
    r.readBack.start(true, 1);
    ASSERT_EQ(r.run(), Outcome::Completed);
    ASSERT_EQ(r.link.sent.size(), 109u);
    EXPECT_EQ(r.link.sent[1], 0x0688u);
    EXPECT_EQ(r.link.sent[107], 0x7088u);
}

TEST(ClosedLoop, AReadBackTheUnitRefusesOrDoesNotAnswerLeavesItInRunMode) {
    ReadBackRig r;
    // Refused: 0xD1 answered 0xD0, so no read is sent at all.
    UnitFaults refusing;
    refusing.refuseModes = true;
    r.link.unit.setFaults(refusing);
    r.readBack.start(true, 1);
    EXPECT_EQ(r.run(), Outcome::Refused);
    EXPECT_FALSE(r.readBack.running());
    EXPECT_EQ(r.link.sent, (std::vector<uint32_t>{0xD1, 0xD0}));
    EXPECT_EQ(r.link.unit.mode(), UnitMode::Run);

    r.run(1); // the unit's answer to that 0xD0 reaches a stopped input
    // No answer to 0xD1 within the hand-shake's second: 100 ticks of 10 ms, not fewer.
    UnitFaults silent;
    silent.silent = true;
    r.link.unit.setFaults(silent);
    r.link.sent.clear();
    r.readBack.start(true, 1);
    EXPECT_EQ(r.link.unit.mode(), UnitMode::Programming);
    EXPECT_EQ(r.run(99), Outcome::Running);
    EXPECT_EQ(r.run(1), Outcome::NoAnswer);
    // The unit did enter the mode, only its answer was lost: it is sent back all the same.
    EXPECT_EQ(r.link.sent, (std::vector<uint32_t>{0xD1, 0xD0}));
    EXPECT_EQ(r.link.unit.mode(), UnitMode::Run);

    // A reply that stops coming halfway ends the read-back too, the unit sent back.
    r.link.unit.setFaults({});
    r.link.sent.clear();
    r.restartInput();
    r.readBack.start(false, 2);
    r.run(5);
    ASSERT_GT(r.readBack.entriesRead(), 0);
    r.port.StopMIDIIn();
    EXPECT_EQ(r.run(), Outcome::NoAnswer);
    EXPECT_LT(r.readBack.entriesRead(), curve::StoredEntries);
    EXPECT_EQ(r.link.sent.back(), 0xD0u);
    EXPECT_EQ(r.link.unit.mode(), UnitMode::Run);

    // Stopped from outside while it runs: the unit goes back to run mode at once.
    r.link.sent.clear();
    r.restartInput();
    r.readBack.start(false, 2);
    r.run(3);
    r.readBack.stop();
    EXPECT_FALSE(r.readBack.running());
    EXPECT_EQ(r.link.sent.back(), 0xD0u);
    EXPECT_EQ(r.link.unit.mode(), UnitMode::Run);
}
