#include "protocol/Decoder.h"
#include "transport/PortFixture.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

using namespace base;
using namespace transport;
using namespace protocol;

namespace {

uint32_t msg(int status, int data1 = 0, int data2 = 0) {
    return static_cast<uint32_t>(status | data1 << 8 | data2 << 16);
}

struct Rows : MeasurementSink {
    bool isRunning = true;
    std::vector<MeasurementRow> rows;
    bool running() const override { return isRunning; }
    void addRow(const MeasurementRow& row) override { rows.push_back(row); }
};

struct Panel : PanelSink {
    int clearEnabled = 0;
    int clears = 0;
    std::string pmidiIn, rdDat;
    std::vector<std::string> log;
    void enableClearText1() override { ++clearEnabled; }
    void setPMIDIIn(const std::string& hex) override { pmidiIn = hex; }
    void setRdDAT(const std::string& hex) override { rdDat = hex; }
    void appendLog(const std::string& line) override { log.push_back(line); }
    void clearLog() override {
        ++clears;
        log.clear();
    }
};

struct Battery : BatterySink {
    std::string revolutions;
    int bits45 = -1;
    std::string onOff;
    std::vector<int> samples;
    void setRevolutions(const std::string& text) override { revolutions = text; }
    void setStatus(int bits, const std::string& state) override {
        bits45 = bits;
        onOff = state;
    }
    void MisVBatProc(int hundredths) override { samples.push_back(hundredths); }
};

struct Lamp : MainWindowSink {
    int lamps = 0;
    int pollerEnabled = 0;
    void inputActivity() override { ++lamps; }
    void enableInputPoller() override { ++pollerEnabled; }
};

// The first revolution worked by hand: Tb 10938, Ta 1562, Tib 9000, Tss 700 ticks,
// A1 0xA5, A2 0x3C.
const std::vector<uint32_t> kRevolution1 = {
    msg(0x81, 58, 42), // 0x2ABA: low byte 0xBA travels as 0x3A + status bit 0
    msg(0x90, 26, 6),  // 0x061A
    msg(0xA0, 40, 35), // 0x2328
    msg(0xB1, 60, 2),  // 0x02BC
    msg(0xE1, 37, 60), // A1 0xA5 = 37 + 128, A2 0x3C
};
const std::string kRow1 = "     1  3,000    20.000    17.501  +17.501   2.499    14.400   1.120 "
                          "1010 0101 3C 00:00:020,000";

// The second: Tb 10900 (DTb -38 ticks = -60.8 us), Ta 1600, Tib 9000, Tss 2000 (above Ta,
// shown as Ta), A1 0x00, A2 0xFF.
const std::vector<uint32_t> kRevolution2 = {
    msg(0x81, 20, 42), // 0x2A94
    msg(0x90, 64, 6),  // 0x0640
    msg(0xA0, 40, 35), // 0x2328
    msg(0xB1, 80, 7),  // 0x07D0
    msg(0xE2, 0, 127), // A2 0xFF = 127 + 128 (status bit 1)
};
const std::string kRow2 = "     2  3,000    20.000    17.440   -0.061   2.560    14.400   2.560 "
                          "0000 0000 FF 00:00:040,000";

class DecoderTest : public PortFixture {
protected:
    DecoderTest() {
        targets.rotation = &rotation;
        targets.advance = &advance;
        targets.panel = &panel;
        targets.battery = &battery;
        targets.main = &lamp;
        port.MIDIInDecode = true;
        port.StopMIDIPoll = false;
    }

    // The window expects the unit's messages (the link's part), or no longer.
    void open(int slot, bool expecting = true) {
        targets.expecting.set(static_cast<size_t>(slot), expecting);
    }
    void feed(const std::vector<uint32_t>& messages) {
        for (uint32_t m : messages)
            decoder.DecodeMIDIIn(m);
    }
    void startInput() {
        openInput();
        ASSERT_EQ(port.StartMIDIIn(), 0);
    }

    AppState app;
    DecoderTargets targets;
    Rows rotation, advance;
    Panel panel;
    Battery battery;
    Lamp lamp;
    Decoder decoder{port, app, notifier, targets};
};

} // namespace

// --- measurement branch ---------------------------------------------------------------

TEST_F(DecoderTest, RebuildsValuesFromStatusBits) {
    open(base::RotationWindow);
    decoder.DecodeMIDIIn(msg(0x81, 0x7F, 0x7F));
    EXPECT_EQ(decoder.Tb, 32767u);
    decoder.resetMeasurement();
    decoder.DecodeMIDIIn(msg(0x83, 0x7F, 0x7F));
    EXPECT_EQ(decoder.Tb, 65535u);
    decoder.DecodeMIDIIn(msg(0x97, 0x7F, 0x7F)); // Ta bit 16 from its own status bit 2
    EXPECT_EQ(decoder.Ta, 131071u);
    decoder.resetMeasurement();
    decoder.DecodeMIDIIn(msg(0x80));
    decoder.DecodeMIDIIn(msg(0x92, 1)); // status bit 1 is bit 15 only
    EXPECT_EQ(decoder.Ta, 32769u);

    // Bits 16-17 of Tb ride on 0x80, bit 18 on the following 0x90; likewise Tib.
    decoder.resetMeasurement();
    decoder.DecodeMIDIIn(msg(0x8C));
    decoder.DecodeMIDIIn(msg(0x98));
    EXPECT_EQ(decoder.Tb, 458752u); // 3 * 65536 + 4 * 65536
    EXPECT_EQ(decoder.Ta, 0u);
    decoder.DecodeMIDIIn(msg(0xA4, 1));
    decoder.DecodeMIDIIn(msg(0xB8));
    EXPECT_EQ(decoder.Tib, 1u + 5u * 65536u);
}

TEST_F(DecoderTest, HandWorkedRevolutionsGiveTheirRows) {
    open(base::RotationWindow);
    feed(kRevolution1);
    feed(kRevolution2);
    ASSERT_EQ(rotation.rows.size(), 2u);
    EXPECT_EQ(rotation.rows[0].text, kRow1);
    EXPECT_EQ(rotation.rows[1].text, kRow2);
    EXPECT_EQ(rotation.rows[1].Tss, 1600u); // limited to Ta
    EXPECT_EQ(lamp.lamps, 10);

    // Start again: numbering goes on, DTb is measured against 0.
    decoder.resetMeasurement();
    feed(kRevolution2);
    EXPECT_EQ(rotation.rows.back().text.substr(6, 36), kRow2.substr(6, 28) + " +17.440");
    EXPECT_EQ(rotation.rows.back().text.substr(0, 6), "     3");

    // A revolution of 0 ticks: blank speed and Tc.
    feed({msg(0x80), msg(0x90), msg(0xA0), msg(0xB0), msg(0xE0)});
    EXPECT_EQ(rotation.rows.back().text.substr(6, 27), std::string(22, ' ') + "0.000");
}

TEST_F(DecoderTest, StreamWaitsForTbAndDropsMessagesOutOfOrder) {
    open(base::RotationWindow);
    decoder.TbPrev = 1234;
    feed({msg(0x90, 1), msg(0xA0, 1), msg(0xB0, 1), msg(0xE0, 1)});
    EXPECT_FALSE(decoder.Synced);
    EXPECT_EQ(decoder.TbPrev, 0u);
    EXPECT_EQ(decoder.Ta, 0u);

    decoder.DecodeMIDIIn(kRevolution1[0]);
    decoder.DecodeMIDIIn(kRevolution1[2]); // 0xA0 before 0x90
    decoder.DecodeMIDIIn(kRevolution1[0]); // a second 0x80
    EXPECT_EQ(decoder.LastKind, 0x80);
    EXPECT_EQ(decoder.Tib, 0u);
    EXPECT_TRUE(rotation.rows.empty());
    feed(std::vector<uint32_t>(kRevolution1.begin() + 1, kRevolution1.end()));
    ASSERT_EQ(rotation.rows.size(), 1u);
    EXPECT_EQ(rotation.rows[0].text, kRow1);
}

TEST_F(DecoderTest, ABurstMissingAMessageGivesNoRowAndTheNextWholeOneIsRight) {
    open(base::RotationWindow);
    feed(kRevolution1);
    auto without = [](const std::vector<uint32_t>& burst, size_t lost) {
        std::vector<uint32_t> out = burst;
        out.erase(out.begin() + static_cast<std::ptrdiff_t>(lost));
        return out;
    };
    feed(without(kRevolution2, 0)); // 0x80 lost right after a whole burst
    EXPECT_EQ(rotation.rows.size(), 1u);
    feed(without(kRevolution1, 1)); // 0x90 lost
    EXPECT_EQ(rotation.rows.size(), 1u);
    feed(without(kRevolution1, 2)); // 0xA0 lost
    EXPECT_EQ(rotation.rows.size(), 1u);
    feed(without(kRevolution1, 4)); // 0xE0 lost: the next 0x80 starts over
    EXPECT_EQ(rotation.rows.size(), 1u);
    // The head of one burst, then a burst that lost its 0x80: the tail's messages are out of
    // place after that head (a 0x90 after 0xA0, ...), so they cannot complete it.
    for (size_t head = 2; head <= 4; ++head) {
        feed(std::vector<uint32_t>(kRevolution1.begin(),
                                   kRevolution1.begin() + static_cast<std::ptrdiff_t>(head)));
        feed(without(kRevolution2, 0));
        EXPECT_EQ(rotation.rows.size(), 1u) << "after the first " << head << " of a burst";
    }
    // Row 2 as worked by hand: numbered 2, 40 ms elapsed, DTb against row 1's Tb although
    // the broken bursts carried other values of Tb.
    feed(kRevolution2);
    ASSERT_EQ(rotation.rows.size(), 2u);
    EXPECT_EQ(rotation.rows[1].text, kRow2);

    // A closing message with no burst before it makes no row either.
    feed({msg(0xE0), msg(0xE0)});
    EXPECT_EQ(rotation.rows.size(), 2u);
}

// Revolution n carries its number in every message: data1 = bits 0-6, data2 = bits 7-13, so
// Tb = Ta = Tib = Tss = data2 * 256 + data1, A1 = data1 and A2 = data2, and a row that mixes
// two revolutions shows it.
std::vector<uint32_t> numberedRevolution(int n) {
    const int lo = n & 0x7F, hi = (n >> 7) & 0x7F;
    return {msg(0x80, lo, hi), msg(0x90, lo, hi), msg(0xA0, lo, hi), msg(0xB0, lo, hi),
            msg(0xE0, lo, hi)};
}

TEST_F(DecoderTest, ARingOverflowInTheMiddleOfBurstsGivesOnlyWholeRevolutions) {
    open(base::RotationWindow);
    // The stream of revolutions 5000, 5001, ... (Tc 16 ms and more), message by message.
    int nextRevolution = 5000;
    std::vector<uint32_t> pending;
    std::set<int> stored; // revolutions whose five messages all found room in the ring
    int storedOfCurrent = 0;
    auto send = [&](int messages) {
        for (int i = 0; i < messages; ++i) {
            if (pending.empty()) {
                pending = numberedRevolution(nextRevolution++);
                storedOfCurrent = 0;
            }
            storedOfCurrent += port.ring.push(transport::MidiInData, pending.front(), 0) ? 1 : 0;
            pending.erase(pending.begin());
            if (pending.empty() && storedOfCurrent == 5) stored.insert(nextRevolution - 1);
        }
    };
    auto take = [&](int entries) { pollRing(port, decoder, entries); };

    // The ring fills up four messages into a burst (31999 = 6399 bursts + 4); while it is
    // full whole revolutions are lost, so every time room is made the stream goes on with the
    // very kind the cut burst expects next. The cuts fall after 0xB0, 0x80, 0x90, 0xA0, 0xB0,
    // between bursts and after 0x90.
    send(MidiRing::Size - 1);
    for (const int room : {2, 1, 1, 1, 1, 502}) {
        send(50);
        take(room);
        send(room);
    }
    send(50);
    take(MidiRing::Size);
    send(100);
    take(MidiRing::Size);
    ASSERT_TRUE(port.ring.empty());
    ASSERT_EQ(port.ring.overruns(), 7u * 50u);

    std::set<int> rows;
    for (const MeasurementRow& row : rotation.rows) {
        EXPECT_TRUE(row.Ta == row.Tb && row.Tib == row.Tb && row.Tss == row.Tb &&
                    static_cast<uint32_t>(row.A2 * 256 + row.A1) == row.Tb)
            << row.text;
        rows.insert(row.A2 * 128 + row.A1);
    }
    // Every revolution that reached the ring whole gives its row, and no other does.
    EXPECT_EQ(rows, stored);
    EXPECT_EQ(rotation.rows.size(), stored.size());
    EXPECT_TRUE(port.MIDIInDecode);
}

TEST_F(DecoderTest, NothingHappensWhileDecodingIsOffOrForMalformedMessages) {
    open(base::RotationWindow);
    port.MIDIInDecode = false;
    feed(kRevolution1);
    EXPECT_EQ(lamp.lamps, 0);
    EXPECT_EQ(decoder.RxStatus, 0);
    EXPECT_FALSE(decoder.Synced);

    port.MIDIInDecode = true;
    decoder.DecodeMIDIIn(msg(0x80, 0x85)); // data bytes are 7-bit
    decoder.DecodeMIDIIn(0x01000080u);
    EXPECT_FALSE(decoder.Synced);
}

TEST_F(DecoderTest, ValueThatCannotFitStopsDecodingWithANotice) {
    open(base::RotationWindow);
    decoder.RowCounter = 999'999;
    feed(kRevolution1);
    feed(kRevolution1); // decoding stays off
    EXPECT_TRUE(rotation.rows.empty());
    EXPECT_FALSE(port.MIDIInDecode);
    EXPECT_EQ(decoder.RowCounter, 999'999);
    EXPECT_EQ(decoder.ElapsedUs, 0);
    EXPECT_EQ(notifier.notices, std::vector<std::string>{"Errore: MIV46"});

    // Tb 100 + Ta 100 ticks = 320 us: 187,500 rpm does not fit "##,##0" in six columns.
    port.MIDIInDecode = true;
    decoder.newMeasurement();
    feed({msg(0x80, 100), msg(0x90, 100), msg(0xA0), msg(0xB0), msg(0xE0)});
    EXPECT_TRUE(rotation.rows.empty());
    EXPECT_EQ(notifier.notices.size(), 2u);
}

// --- routing ----------------------------------------------------------------------------

TEST_F(DecoderTest, RoutesByPriority) {
    for (int slot :
         {base::BatteryWindow, base::PanelWindow, 5, 7, base::RotationWindow, base::AdvanceWindow})
        open(slot);
    decoder.DecodeMIDIIn(msg(0xD5));
    EXPECT_TRUE(decoder.BatteryRun);
    EXPECT_EQ(panel.clearEnabled, 0);

    open(base::BatteryWindow, false);
    decoder.DecodeMIDIIn(msg(0xD2));
    EXPECT_EQ(panel.log.size(), 1u);

    open(base::PanelWindow, false);
    feed(kRevolution1); // taken, and dropped, by the curve editors
    EXPECT_TRUE(rotation.rows.empty());

    open(5, false);
    open(7, false);
    rotation.isRunning = false; // the rotation window decides for both
    feed(kRevolution1);
    EXPECT_TRUE(advance.rows.empty());
    rotation.isRunning = true;
    feed(kRevolution1);
    EXPECT_EQ(rotation.rows.size(), 1u);
    ASSERT_EQ(advance.rows.size(), 1u);
    EXPECT_EQ(advance.rows[0].text, kRow1);

    open(base::RotationWindow, false);
    feed(kRevolution1);
    EXPECT_EQ(advance.rows.size(), 2u);

    open(base::AdvanceWindow, false);
    feed(kRevolution1);
    EXPECT_EQ(advance.rows.size(), 2u);
    EXPECT_EQ(lamp.lamps, 27);
}

TEST_F(DecoderTest, RepliesReachTheWaitingTransferWhateverWindowsAreOpen) {
    startInput();
    UnitReplyWait wait;
    targets.addReplyListener(&wait);
    for (int slot : {base::BatteryWindow, base::PanelWindow, 5})
        open(slot);
    wait.expectRead(true, 4);
    decoder.DecodeMIDIIn(msg(0x88, 5, 1)); // another address
    decoder.DecodeMIDIIn(msg(0x81, 4, 1)); // a write echo
    decoder.DecodeMIDIIn(msg(0xD1));
    EXPECT_TRUE(wait.waiting());
    decoder.DecodeMIDIIn(msg(0x89, 4, 5));
    EXPECT_EQ(wait.state(), UnitReplyWait::State::Answered);
    EXPECT_EQ(wait.value(), 133);

    // The echoed address carries its bit 7 in status bit 1; the other module is noticed.
    wait.expectRead(false, 219);
    decoder.DecodeMIDIIn(msg(0x8A, 91, 7));
    EXPECT_EQ(wait.state(), UnitReplyWait::State::WrongModule);
    wait.expectWrite(false, 219);
    decoder.DecodeMIDIIn(msg(0x8E, 91, 7)); // a read reply is not a write echo
    decoder.DecodeMIDIIn(msg(0x86, 91, 7));
    EXPECT_EQ(wait.state(), UnitReplyWait::State::Answered);

    // Every wait has a time limit; an ended wait takes nothing more.
    wait.expectModeAnswer(1000);
    wait.elapse(960);
    EXPECT_TRUE(wait.waiting());
    wait.elapse(80);
    EXPECT_EQ(wait.state(), UnitReplyWait::State::TimedOut);
    decoder.DecodeMIDIIn(msg(0xD1));
    EXPECT_EQ(wait.state(), UnitReplyWait::State::TimedOut);
    targets.removeReplyListener(&wait);
    EXPECT_TRUE(targets.replies.empty());
}

// --- control panel branch -----------------------------------------------------------------

TEST_F(DecoderTest, PanelLogsAnswersAndShowsTheByteRead) {
    startInput();
    open(base::PanelWindow);
    decoder.DecodeMIDIIn(msg(0x89, 4, 5)); // no access yet: not shown
    EXPECT_EQ(panel.clearEnabled, 1);
    for (int status : {0xD2, 0xD3, 0xD7, 0xD4})
        decoder.DecodeMIDIIn(msg(status));
    EXPECT_TRUE(decoder.EEPROMAccess);

    decoder.DecodeMIDIIn(msg(0x8D, 4, 5)); // MSX data: 5 + 128
    EXPECT_EQ(panel.rdDat, "85");
    // The write echoes: MSX 0x84 with data 0x22 + 128, MDX 0x80 with 0x33.
    decoder.DecodeMIDIIn(msg(0x85, 0x10, 0x22));
    EXPECT_EQ(panel.rdDat, "A2");
    decoder.DecodeMIDIIn(msg(0x80, 0x11, 0x33));
    EXPECT_EQ(panel.rdDat, "33");
    EXPECT_FALSE(decoder.EEPROMReadAck);
    decoder.DecodeMIDIIn(msg(0x9A, 10, 0x0F));
    EXPECT_TRUE(decoder.EEPROMReadAck);
    decoder.DecodeMIDIIn(msg(0xA0, 1, 2)); // logged only
    EXPECT_EQ(panel.rdDat, "0F");
    EXPECT_EQ(panel.pmidiIn, "A00102");

    decoder.DecodeMIDIIn(msg(0xD0));
    EXPECT_EQ(panel.log, (std::vector<std::string>{
                             "     1 D20000  EEPROM DATI/PROG\r\n", "     2 D30000  EEPROM NO\r\n",
                             "     3 D40000  EEPROM DATI/PROG\r\n", "     4 8D0405  MSX DATI\r\n",
                             "     5 851022  MSX DATI\r\n", "     6 801133  MDX DATI\r\n",
                             "     7 9A0A0F  MDX PROG\r\n", "     8 A00102\r\n",
                             "     9 D00000  EEPROM DATI/PROG NO\r\n"}));
}

TEST_F(DecoderTest, PanelLogRestartsAtLineOneAfterLine4999) {
    open(base::PanelWindow);
    decoder.EEPROMAccess = true;
    for (int i = 0; i < 4998; ++i)
        decoder.DecodeMIDIIn(msg(0xA0));
    EXPECT_EQ(panel.log.back(), "  4998 A00000\r\n");
    EXPECT_EQ(panel.clears, 0);
    decoder.DecodeMIDIIn(msg(0xA0));
    EXPECT_EQ(panel.clears, 1); // line 4999 was appended, then the log cleared
    decoder.DecodeMIDIIn(msg(0xA0));
    EXPECT_EQ(panel.log, std::vector<std::string>{"     1 A00000\r\n"});
}

// --- battery branch -----------------------------------------------------------------------

TEST_F(DecoderTest, BatterySamplesAndRevolutions) {
    open(base::BatteryWindow);
    decoder.DecodeMIDIIn(msg(0xD5));
    feed({kRevolution1[0], kRevolution1[1]}); // 12500 ticks = 20 ms
    EXPECT_EQ(battery.revolutions, " 3,000");
    feed({msg(0x80), msg(0x90), msg(0xA0), msg(0xB0), msg(0xE2, 0x60, 72)});
    EXPECT_EQ(battery.revolutions, "0");
    EXPECT_EQ(battery.samples, std::vector<int>{1594}); // A2 = 72 + 128: 200 * 0.0797 V
    EXPECT_EQ(battery.bits45, 2);
    EXPECT_EQ(battery.onOff, "ON");
    // A2 = 50: 3.985 V is exactly 398.5 hundredths, stored as 399.
    feed({msg(0x80), msg(0x90), msg(0xA0), msg(0xB0), msg(0xE0, 0x30, 50)});
    EXPECT_EQ(battery.bits45, 3);
    EXPECT_EQ(battery.onOff, "OFF");
    feed({msg(0x80), msg(0xE0, 0, 10)}); // 0xE0 must follow 0xB0
    EXPECT_EQ(battery.samples, (std::vector<int>{1594, 399}));
}

TEST_F(DecoderTest, BatteryRecordingEnds) {
    startInput();
    open(base::BatteryWindow);
    decoder.DecodeMIDIIn(msg(0xD5));
    const std::vector<uint32_t> sample = {msg(0x80), msg(0x90), msg(0xA0), msg(0xB0),
                                          msg(0xE0, 0, 100)};
    // The window keeps slots 0-32000 and stops itself when it fills the last one.
    for (int i = 0; i < 32002; ++i)
        feed(sample);
    EXPECT_EQ(battery.samples.size(), 32001u);
    EXPECT_EQ(battery.samples.back(), 797);

    decoder.DecodeMIDIIn(msg(0xD0));
    EXPECT_FALSE(decoder.BatteryRun);
}
