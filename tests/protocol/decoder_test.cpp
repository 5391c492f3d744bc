#include "protocol/Decoder.h"
#include "transport/PortFixture.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

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
    std::pair<int, std::string> status; // bits 4-5 of A1, on or off
    std::vector<int> samples;
    void setRevolutions(const std::string& text) override { revolutions = text; }
    void setStatus(int bits, const std::string& state) override { status = {bits, state}; }
    void MisVBatProc(int hundredths) override { samples.push_back(hundredths); }
};

struct Lamp : MainWindowSink {
    int lamps = 0;
    void inputActivity() override { ++lamps; }
    void enableInputPoller() override {}
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
    }

    // The window expects the unit's messages (the link's part), or no longer.
    void open(int slot, bool expecting = true) {
        targets.expecting.set(static_cast<size_t>(slot), expecting);
    }
    void feed(const std::vector<uint32_t>& messages) {
        for (uint32_t m : messages)
            decoder.DecodeMIDIIn(m);
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

// Bits 7 of data1 and data2 ride in status bits 0 and 1, Ta bit 16 in its status bit 2; bits
// 16-17 of Tb in 0x80's bits 2-3 and bit 18 in the following 0x90's bit 3, likewise Tib.
TEST_F(DecoderTest, RebuildsValuesFromStatusBitsAndHandWorkedRevolutionsGiveTheirRows) {
    open(RotationWindow);
    const struct {
        std::vector<uint32_t> messages;
        uint32_t Tb, Ta, Tib;
    } cases[] = {
        {{msg(0x81, 0x7F, 0x7F)}, 32767, 0, 0},
        {{msg(0x83, 0x7F, 0x7F), msg(0x97, 0x7F, 0x7F)}, 65535, 131071, 0},
        {{msg(0x80), msg(0x92, 1)}, 0, 32769, 0}, // status bit 1 is bit 15 only
        {{msg(0x8C), msg(0x98), msg(0xA4, 1), msg(0xB8)}, 7 * 65536, 0, 1 + 5 * 65536},
    };
    for (const auto& c : cases) {
        decoder.resetMeasurement();
        feed(c.messages);
        EXPECT_EQ(std::tuple(decoder.Tb, decoder.Ta, decoder.Tib), std::tuple(c.Tb, c.Ta, c.Tib))
            << &c - cases;
    }
    EXPECT_TRUE(rotation.rows.empty());

    // The hand-worked revolutions give their rows.
    feed(kRevolution1);
    feed(kRevolution2);
    ASSERT_EQ(rotation.rows.size(), 2u);
    EXPECT_EQ(rotation.rows[0].text, kRow1);
    EXPECT_EQ(rotation.rows[1].text, kRow2);
    EXPECT_EQ(rotation.rows[1].Tss, 1600u); // limited to Ta

    // Start again: numbering goes on, DTb is measured against 0.
    decoder.resetMeasurement();
    feed(kRevolution2);
    EXPECT_EQ(rotation.rows.back().text.substr(6, 36), kRow2.substr(6, 28) + " +17.440");
    EXPECT_EQ(rotation.rows.back().text.substr(0, 6), "     3");

    // A revolution of 0 ticks: blank speed and Tc.
    feed({msg(0x80), msg(0x90), msg(0xA0), msg(0xB0), msg(0xE0)});
    EXPECT_EQ(rotation.rows.back().text.substr(6, 27), std::string(22, ' ') + "0.000");
}

// A stream waits for a 0x80; a burst missing a message, or a message out of its place (a
// head then the tail of another burst, 0xA0 before 0x90), gives no row; the next whole burst
// gives row 2 as worked by hand, DTb against row 1 though broken bursts carried other Tbs.
TEST_F(DecoderTest, BrokenBurstsOrALostMessageGiveNoRowAndTheNextWholeOneIsRight) {
    open(RotationWindow);
    decoder.TbPrev = 1234;
    feed({msg(0x90, 1), msg(0xA0, 1), msg(0xB0, 1), msg(0xE0, 1)});
    EXPECT_FALSE(decoder.Synced);
    EXPECT_EQ(decoder.TbPrev, 0u);
    EXPECT_EQ(decoder.Ta, 0u);
    feed(kRevolution1);
    // Messages 0-4 of revolution 1, then 5-9 of revolution 2.
    auto pick = [](std::initializer_list<size_t> at) {
        std::vector<uint32_t> both = kRevolution1, out;
        both.insert(both.end(), kRevolution2.begin(), kRevolution2.end());
        for (size_t i : at)
            out.push_back(both[i]);
        return out;
    };
    const std::vector<uint32_t> broken[] = {
        pick({6, 7, 8, 9}), // 0x80 lost right after a whole burst
        pick({0, 2, 3, 4}),
        pick({0, 1, 3, 4}),
        pick({0, 1, 2, 3}), // 0xE0 lost: the next 0x80 starts over
        pick({0, 1, 6, 7, 8, 9}),
        pick({0, 1, 2, 6, 7, 8, 9}),
        pick({0, 1, 2, 3, 6, 7, 8, 9}),
        pick({5, 7}),
    };
    for (const auto& messages : broken) {
        feed(messages);
        EXPECT_EQ(rotation.rows.size(), 1u) << &messages - broken;
    }
    feed(kRevolution2); // its 0x80 is a second one
    ASSERT_EQ(rotation.rows.size(), 2u);
    EXPECT_EQ(rotation.rows[1].text, kRow2);
    feed({msg(0xE0)}); // a closing message with no burst before it
    EXPECT_EQ(rotation.rows.size(), 2u);

    // The head of a burst, messages of no burst filling the ring, one lost: the closing
    // message after the gap cannot complete that head.
    const int lamps = lamp.lamps;
    for (int i = 0; i + 1 < MidiRing::Size; ++i)
        ASSERT_TRUE(port.ring.push(MidiInData,
                                   i < 4 ? kRevolution1[static_cast<size_t>(i)] : msg(0xC0), 0));
    EXPECT_FALSE(port.ring.push(MidiInData, msg(0xC0), 0));
    EXPECT_TRUE(pollRing(port, decoder, 1)); // one at most, then more may wait
    EXPECT_EQ(lamp.lamps - lamps, 1);
    pollRing(port, decoder, MidiRing::Size);
    port.ring.push(MidiInData, kRevolution1[4], 0);
    EXPECT_FALSE(pollRing(port, decoder, 2));      // empty, and the input not started
    EXPECT_EQ(lamp.lamps - lamps, MidiRing::Size); // every message stored was decoded
    EXPECT_EQ(rotation.rows.size(), 2u);
    feed(kRevolution1);
    EXPECT_EQ(rotation.rows.size(), 3u);
}

TEST_F(DecoderTest, NothingHappensWhileDecodingIsOffForMalformedMessagesOrValuesThatCannotFit) {
    open(RotationWindow);
    port.MIDIInDecode = false;
    feed(kRevolution1);
    EXPECT_EQ(lamp.lamps, 0);
    EXPECT_EQ(decoder.RxStatus, 0);
    EXPECT_FALSE(decoder.Synced);

    port.MIDIInDecode = true;
    decoder.DecodeMIDIIn(msg(0x80, 0x85)); // data bytes are 7-bit
    decoder.DecodeMIDIIn(0x01000080u);
    EXPECT_FALSE(decoder.Synced);

    // A value that cannot fit its column stops decoding with a notice.
    decoder.RowCounter = 999'999;
    feed(kRevolution1);
    feed(kRevolution1); // decoding stays off
    EXPECT_TRUE(rotation.rows.empty());
    EXPECT_FALSE(port.MIDIInDecode);
    EXPECT_EQ(decoder.RowCounter, 999'999);
    EXPECT_EQ(decoder.ElapsedUs, 0);
    // Which other values do not fit their columns is checked with the row's layout.
    EXPECT_EQ(notifier.notices, std::vector<std::string>{"Errore: MIV46"});
}

// --- routing ----------------------------------------------------------------------------

TEST_F(DecoderTest, RoutesByPriorityRepliesReachTheWaitingTransferWhateverWindowsAreOpen) {
    for (int slot : {BatteryWindow, PanelWindow, FirstCurveWindow, LastCurveWindow, RotationWindow,
                     AdvanceWindow})
        open(slot);
    // Replies reach the waiting transfer whatever windows are open. Which replies a wait takes
    // (address, module, read or write echo, time limit) is checked through the transfers.
    UnitReplyWait wait;
    targets.addReplyListener(&wait);
    wait.expectRead(true, 4);
    decoder.DecodeMIDIIn(msg(0xD1));
    EXPECT_TRUE(wait.waiting());
    decoder.DecodeMIDIIn(msg(0x89, 4, 5));
    decoder.DecodeMIDIIn(msg(0x8D, 4, 9)); // an ended wait takes nothing more
    EXPECT_EQ(std::pair(wait.state(), wait.value()),
              std::pair(UnitReplyWait::State::Answered, 133));
    targets.removeReplyListener(&wait);
    EXPECT_TRUE(targets.replies.empty());

    decoder.DecodeMIDIIn(msg(0xD5));
    EXPECT_TRUE(decoder.BatteryRun);
    EXPECT_EQ(panel.clearEnabled, 0);

    open(BatteryWindow, false);
    decoder.DecodeMIDIIn(msg(0xD2));
    EXPECT_EQ(panel.log.size(), 1u);

    open(PanelWindow, false);
    feed(kRevolution1); // taken, and dropped, by the curve editors
    open(FirstCurveWindow, false);
    feed(kRevolution1); // the last one alone takes them too
    EXPECT_TRUE(rotation.rows.empty());

    open(LastCurveWindow, false);
    rotation.isRunning = false; // the rotation window decides for both
    feed(kRevolution1);
    EXPECT_TRUE(advance.rows.empty());
    rotation.isRunning = true;
    feed(kRevolution1);
    EXPECT_EQ(rotation.rows.size(), 1u);
    ASSERT_EQ(advance.rows.size(), 1u);
    EXPECT_EQ(advance.rows[0].text, kRow1);

    open(RotationWindow, false);
    feed(kRevolution1);
    EXPECT_EQ(advance.rows.size(), 2u);

    open(AdvanceWindow, false);
    feed(kRevolution1);
    EXPECT_EQ(advance.rows.size(), 2u);
    EXPECT_EQ(lamp.lamps, 35);
}

// --- control panel branch -----------------------------------------------------------------

TEST_F(DecoderTest, PanelLogsAnswersShowsTheByteReadRestartsAfterLine4999) {
    open(PanelWindow);
    decoder.DecodeMIDIIn(msg(0x89, 4, 5)); // no access yet: not shown
    EXPECT_EQ(panel.clearEnabled, 1);
    for (int status : {0xD2, 0xD3, 0xD7, 0xD4})
        decoder.DecodeMIDIIn(msg(status));
    EXPECT_TRUE(decoder.EEPROMAccess);

    // MSX data 5 + 128; the write echoes (MSX 0x84 with 0x22 + 128, MDX 0x80 with 0x33)
    // acknowledge no read, a program read does; a message of no memory is logged only.
    const std::tuple<uint32_t, const char*, bool> shown[] = {{msg(0x8D, 4, 5), "85", false},
                                                             {msg(0x85, 0x10, 0x22), "A2", false},
                                                             {msg(0x80, 0x11, 0x33), "33", false},
                                                             {msg(0x9A, 10, 0x0F), "0F", true},
                                                             {msg(0xA0, 1, 2), "0F", true}};
    for (const auto& [message, rdDat, readAck] : shown) {
        decoder.DecodeMIDIIn(message);
        EXPECT_EQ(panel.rdDat, rdDat) << std::hex << message;
        EXPECT_EQ(decoder.EEPROMReadAck, readAck) << std::hex << message;
    }
    EXPECT_EQ(panel.pmidiIn, "A00102");

    decoder.DecodeMIDIIn(msg(0xD0));
    EXPECT_EQ(panel.log, (std::vector<std::string>{
                             "     1 D20000  EEPROM DATI/PROG\r\n", "     2 D30000  EEPROM NO\r\n",
                             "     3 D40000  EEPROM DATI/PROG\r\n", "     4 8D0405  MSX DATI\r\n",
                             "     5 851022  MSX DATI\r\n", "     6 801133  MDX DATI\r\n",
                             "     7 9A0A0F  MDX PROG\r\n", "     8 A00102\r\n",
                             "     9 D00000  EEPROM DATI/PROG NO\r\n"}));

    // Line 4999 is appended, then the log cleared: the next one is line 1.
    for (int line = 10; line <= 4998; ++line)
        decoder.DecodeMIDIIn(msg(0xA0));
    EXPECT_EQ(panel.log.back(), "  4998 A00000\r\n");
    EXPECT_EQ(panel.clears, 0);
    decoder.DecodeMIDIIn(msg(0xA0));
    EXPECT_EQ(panel.clears, 1);
    decoder.DecodeMIDIIn(msg(0xA0));
    EXPECT_EQ(panel.log, std::vector<std::string>{"     1 A00000\r\n"});
}

// --- battery branch -----------------------------------------------------------------------

TEST_F(DecoderTest, BatterySamplesAndRevolutionsUntilTheRecordingEnds) {
    open(BatteryWindow);
    decoder.DecodeMIDIIn(msg(0xD5));
    feed({kRevolution1[0], kRevolution1[1]}); // 12500 ticks = 20 ms
    EXPECT_EQ(battery.revolutions, " 3,000");
    feed({msg(0x80), msg(0x90), msg(0xA0), msg(0xB0), msg(0xE2, 0x60, 89)});
    EXPECT_EQ(battery.revolutions, "0");
    EXPECT_EQ(battery.samples, std::vector<int>{1729}); // A2 = 89 + 128: 217 * 0.0797 V = 17.2949
    EXPECT_EQ(battery.status, std::pair(2, std::string("ON")));
    // A2 = 50: 3.985 V is exactly 398.5 hundredths, stored as 399.
    feed({msg(0x80), msg(0x90), msg(0xA0), msg(0xB0), msg(0xE0, 0x30, 50)});
    EXPECT_EQ(battery.status, std::pair(3, std::string("OFF")));
    feed({msg(0x80), msg(0xE0, 0, 10)}); // 0xE0 must follow 0xB0
    EXPECT_EQ(battery.samples, (std::vector<int>{1729, 399}));

    // The window keeps slots 0-32000 and stops itself when it fills the last one.
    const std::vector<uint32_t> sample = {msg(0x80), msg(0x90), msg(0xA0), msg(0xB0),
                                          msg(0xE0, 0, 100)};
    for (int i = 0; i < 32002; ++i)
        feed(sample);
    EXPECT_EQ(battery.samples.size(), 32001u);
    EXPECT_EQ(battery.samples.back(), 797);
    decoder.DecodeMIDIIn(msg(0xD0));
    EXPECT_FALSE(decoder.BatteryRun);
}
