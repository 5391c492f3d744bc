#include "base/AppState.h"
#include "base/ShowMsg.h"
#include "base/Texts.h"
#include "measure/ClosedLoop.h"
#include "measure/ClosedLoopCheck.h"
#include "protocol/Decoder.h"
#include "support/RecordingNotifier.h"
#include "support/SimulatedUnitLink.h"
#include "timing/PrecisionClock.h"
#include "transport/MidiPoller.h"
#include "transport/MidiPort.h"

#include <gtest/gtest.h>
#include <string>

using namespace timing;
using namespace protocol;
using namespace measure;

namespace {

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

// A row at 6000 rpm (Ta 1.25 ms, Tc 10 ms) with its Tss.
std::string row6000(int n, const char* tss) {
    return "     " + std::to_string(n) +
           "  6,000    10.000     8.750   +0.000   1.250     6.000   " + tss +
           " 0000 0011 00 00:00:0" + std::to_string(n + 1) + "0,000";
}
const std::string kRow3000 = "     1  3,000    20.000    15.000  +15.000   5.000     1.234   "
                             "4.000 1010 0101 3C 00:00:020,000";

// Entry 37 (3000 rpm) holds 200 counts, entry 67 (6000 rpm) 250: 0.64 ms of a 20 ms
// revolution is 11.52 degrees, 0.8 ms of 10 ms 28.8. Row 1 measures 18.0 degrees (TAnt 625
// of Tc 12,500 ticks), rows 2-3 at 6000 rpm 30.6 and 37.8 (TAnt 531 and 656 of 6,250), row 4
// none (Tss = Ta), row 5 18.0 (TAnt 312).
TEST(ClosedLoop, TheCheckComparesEachNewRowOnceAndKeepsTheLargestDifferenceBySize) {
    curve::Table t{};
    t[37] = 200;
    t[67] = 250;
    RowStore rows;
    rows.append(kRow3000);
    rows.append(row6000(2, "0.400"));
    ClosedLoopCheck check;
    check.compareNew(rows); // no curve yet: nothing compared
    EXPECT_EQ(check.differences().size(), 0u);
    EXPECT_EQ(check.summaryText(0), "");
    check.setReference(t);
    check.compareNew(rows);
    EXPECT_EQ(check.differences().row(0), "     1  3,000  18.0  11.5  +6.48");
    EXPECT_EQ(check.differences().row(1), "     2  6,000  30.6  28.8  +1.80");
    EXPECT_EQ(check.summary().compared, 2u);
    EXPECT_NEAR(check.summary().largest, 6.48, 1e-9);

    rows.append(row6000(3, "0.200"));
    rows.append(row6000(4, "1.250"));
    check.compareNew(rows);
    ASSERT_EQ(check.differences().size(), 4u);
    EXPECT_EQ(check.differences().row(2), "     3  6,000  37.8  28.8  +9.00");
    EXPECT_EQ(check.differences().row(3), "     4  6,000" + std::string(19, ' '));
    // The summary: the largest difference, where, and of how many points.
    EXPECT_EQ(check.summaryText(0), "Scarto massimo +9,00 gradi a 6.000 giri/min (3 punti)");
    EXPECT_EQ(check.summaryText(200), "Largest difference +9.00 degrees at 6,000 rpm (3 points)");

    // Largest by size whatever its sign: 18.0 measured against 28.8 at 6000 rpm.
    rows.append(row6000(5, "0.750"));
    check.compareNew(rows);
    EXPECT_EQ(check.differences().row(4), "     5  6,000  18.0  28.8 -10.80");
    EXPECT_NEAR(check.summary().largest, -10.8, 1e-9);
    EXPECT_EQ(check.summary().compared, 4u);

    check.restart(); // a new measurement: the curve stays, nothing compared yet
    EXPECT_EQ(check.summaryText(0), "Nessun punto da confrontare con la curva");

    // Of two equal differences the first stays the largest: with 100 counts at 6000 rpm the
    // curve is 11.52 degrees there too, and rows 1 and 5 both measure 6.48 above it.
    t[67] = 100;
    check.setReference(t);
    RowStore tie;
    tie.append(kRow3000);
    tie.append(row6000(5, "0.750"));
    check.compareNew(tie);
    EXPECT_EQ(check.differences().row(1), "     5  6,000  18.0  11.5  +6.48");
    EXPECT_EQ(check.summary().rpmOfLargest, 3000);

    // No difference at all keeps its plus: 9.6 degrees measured at 4000 rpm (TAnt 250 of Tc
    // 9,375 ticks) against 125 counts there, 9.6 degrees.
    t[47] = 125;
    check.setReference(t);
    RowStore exact;
    exact.append(
        "     1  4,000    15.000    13.750  +13.750   1.250     6.000   0.850 0000 0011 00 "
        "00:00:015,000");
    check.compareNew(exact);
    EXPECT_EQ(check.summaryText(200), "Largest difference +0.00 degrees at 4,000 rpm (1 points)");
}

namespace {

using Outcome = measure::TableReadBack::Outcome;

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
    measure::TableReadBack readBack{port, wait, &unitLink};
};

} // namespace

TEST(ClosedLoop, ReadsACurvesTableBackFromTheChosenModuleOrLeavesTheUnitInRunMode) {
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

    // Curve 1 of MDX: addresses 6..112, read with 0x88.
    r.link.sent.clear();
    r.readBack.start(true, 1);
    ASSERT_EQ(r.run(), Outcome::Completed);
    ASSERT_EQ(r.link.sent.size(), 109u);
    EXPECT_EQ(r.link.sent[1], 0x0688u);
    EXPECT_EQ(r.link.sent[107], 0x7088u);

    // Refused: 0xD1 answered 0xD0, so no read is sent at all; the unit stays in run mode.
    r.link.sent.clear();
    r.link.unit.setFaults({.refuseModes = true});
    r.readBack.start(true, 1);
    EXPECT_EQ(r.run(), Outcome::Refused);
    EXPECT_FALSE(r.readBack.running());
    EXPECT_EQ(r.link.sent, (std::vector<uint32_t>{0xD1, 0xD0}));
    EXPECT_EQ(r.link.unit.mode(), UnitMode::Run);

    r.run(1); // the unit's answer to that 0xD0 reaches a stopped input
    // No answer to 0xD1 within the hand-shake's second: 100 ticks of 10 ms, not fewer.
    r.link.unit.setFaults({.silent = true});
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
