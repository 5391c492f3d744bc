#include "app/AppState.h"
#include "app/ShowMsg.h"
#include "app/Texts.h"
#include "measure/ClosedLoop.h"
#include "midi/Decoder.h"
#include "midi/MidiPoller.h"
#include "midi/MidiPort.h"
#include "support/RecordingNotifier.h"
#include "support/SimulatedUnitLink.h"
#include "timing/PrecisionClock.h"

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

    const std::vector<AdvancePoint> drawn = referenceCurve(t);
    ASSERT_EQ(drawn.size(), 4u);
    EXPECT_EQ(drawn[0].rpm, 1000);
    EXPECT_EQ(drawn[0].tenths, 58); // 5.76
    EXPECT_EQ(drawn[1].rpm, 1099);
    EXPECT_EQ(drawn[1].tenths, 63); // 6.33
    EXPECT_EQ(drawn[2].rpm, 9900);
    EXPECT_EQ(drawn[2].tenths, 190); // 19.008
    EXPECT_EQ(drawn[3].rpm, 9999);
    EXPECT_EQ(drawn[3].tenths, 192); // 19.198
}

TEST(ClosedLoop, EachRowsDifferenceAndTheLargestWithItsSpeed) {
    RowStore rows(kAdvanceRowLength);
    rows.append("     1  1,000   5.9  0.983    60.000 00:00:060,000 ");
    rows.append("     2  1,050   6.0  0.952    57.143 00:00:117,143 "); // 6.048 programmed
    rows.append("     3  1,050               57.143 00:00:174,286 ");   // no advance
    rows.append("     4  1,200   7.0  0.972    50.000 00:00:224,286 "); // entry 19 holds 0
    std::vector<std::optional<double>> diffs;
    const closedloop::Summary s = compare(rows, table(), &diffs);
    ASSERT_EQ(diffs.size(), 4u);
    EXPECT_NEAR(*diffs[0], 0.14, 1e-9);
    EXPECT_NEAR(*diffs[1], -0.048, 1e-9);
    EXPECT_FALSE(diffs[2].has_value());
    EXPECT_FALSE(diffs[3].has_value());
    EXPECT_EQ(s.compared, 2u);
    EXPECT_NEAR(s.largest, 0.14, 1e-9);
    EXPECT_EQ(s.rpmOfLargest, 1000);
}

TEST(ClosedLoop, ReadsACurvesTableBackFromTheChosenModule) {
    AppState app;
    Texts texts;
    RecordingNotifier notifier;
    MessageService messages{texts, notifier};
    PrecisionClock clock;
    SimulatedUnitLink link;
    link.inNames = {"Unit"};
    link.outNames = {"Unit"};
    MidiPort port{link, messages, clock};
    port.MIDIInDevice = 0;
    port.MIDIOutDevice = 0;
    port.OpenMIDIIn();
    port.OpenMIDIOut();
    DecoderTargets targets;
    Decoder decoder{port, app, notifier, targets};
    UnitReplyWait wait;
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

    closedloop::TableReadBack readBack(port, wait);
    readBack.start(false, 2); // MSX, curve 2
    closedloop::TableReadBack::Outcome outcome = closedloop::TableReadBack::Outcome::Running;
    for (int tick = 0; tick < 1000 && outcome == closedloop::TableReadBack::Outcome::Running;
         ++tick) {
        link.pump(10'000); // revolutions keep streaming meanwhile
        pollRing(port, decoder);
        outcome = readBack.tick(10);
    }
    ASSERT_EQ(outcome, closedloop::TableReadBack::Outcome::Completed);
    for (int i = 0; i < curve::StoredEntries; ++i)
        ASSERT_EQ(readBack.table()[static_cast<size_t>(i)], (i * 7 + 3) & 0xFF) << i;
    EXPECT_EQ(readBack.table()[107], 0);

    // A unit that does not answer ends the read-back.
    port.StopMIDIIn();
    readBack.start(true, 1);
    outcome = closedloop::TableReadBack::Outcome::Running;
    for (int tick = 0; tick < 200 && outcome == closedloop::TableReadBack::Outcome::Running; ++tick)
        outcome = readBack.tick(10);
    EXPECT_EQ(outcome, closedloop::TableReadBack::Outcome::NoAnswer);
}
