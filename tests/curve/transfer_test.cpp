#include "base/ShowMsg.h"
#include "base/Texts.h"
#include "curve/CurveTransfer.h"
#include "protocol/UnitReplyWait.h"
#include "support/RecordingNotifier.h"
#include "support/SimulatedUnitLink.h"
#include "timing/PrecisionClock.h"
#include "transport/MidiPort.h"
#include <gtest/gtest.h>
#include <tuple>

using namespace timing;
using namespace protocol;
using namespace curve;

namespace {

constexpr uint32_t msg(uint32_t status, uint32_t data1, uint32_t data2 = 0) {
    return status | data1 << 8 | data2 << 16;
}

// A write request as it travels: bit 7 of the address in status bit 1, of the value in 0.
uint32_t wr(bool mdx, int address, int value) {
    return msg((mdx ? 0x80 : 0x84) | (address > 127 ? 2 : 0) | (value > 127 ? 1 : 0),
               address & 0x7F, value & 0x7F);
}

Table rampTable(int seed) {
    Table t{};
    for (int i = 0; i < curve::TableEntries; ++i)
        t[static_cast<size_t>(i)] = static_cast<uint16_t>((i * 7 + seed) & 0xFF);
    return t;
}

// The transfer against the simulated unit in programming mode: each tick is followed by
// 80 ms of unit time, every message the unit sent in it offered to the wait.
class CurveTransferTest : public ::testing::Test {
protected:
    CurveTransferTest() {
        link.connect(port);
        port.sendCommand(0xD1);
        step();
    }
    void step() {
        link.unit.advance(80'000);
        for (const uint32_t m : link.unit.takeOutput())
            wait.offer(m);
    }
    // Ticks until the transfer ends (ticks: how many it took).
    CurveTransfer::Outcome run(CurveTransfer::Setup s) {
        transfer.start(s);
        for (ticks = 1; ticks <= 1000; ++ticks) {
            const CurveTransfer::Outcome o = transfer.tick();
            if (o != CurveTransfer::Outcome::Running) return o;
            step();
        }
        return CurveTransfer::Outcome::Running;
    }
    const UnitBytes& module(UnitModuleId id) { return link.unit.eeprom().module(id); }

    Texts texts;
    RecordingNotifier notifier;
    MessageService messages{texts, notifier};
    PrecisionClock clock;
    SimulatedUnitLink link;
    MidiPort port{link, messages, clock};
    UnitReplyWait wait;
    CurveTransfer transfer{port, wait};
    int ticks = 0;
};

} // namespace

TEST_F(CurveTransferTest, CurveOneIntoMdxIsWrittenAndVerified) {
    CurveTransfer::Setup s{.master = true, .choice = 1, .maxRpm = 9900, .table1 = rampTable(3)};
    s.table1[107] = 99; // never sent
    link.sent.clear();
    EXPECT_EQ(run(s), CurveTransfer::Outcome::Completed);
    EXPECT_EQ(module(UnitModuleId::MDX)[5], 99);
    for (int i = 0; i < StoredEntries; ++i)
        ASSERT_EQ(module(UnitModuleId::MDX)[6 + i], s.table1[i]) << i;
    EXPECT_EQ(module(UnitModuleId::MDX)[113], 0xFF); // curve 2 untouched
    EXPECT_EQ(module(UnitModuleId::MDX)[4], 0xFE);   // bit 0 cleared
    EXPECT_EQ(module(UnitModuleId::MSX)[5], 75);     // the factory value, not written

    // Exactly the listed messages: 5 first, then 6..112, the flags read and write, the
    // reads back of 5 and 6..112.
    ASSERT_EQ(link.sent.size(), 1u + 107 + 2 + 1 + 107);
    EXPECT_EQ(transfer.progress().percent(), 100);
    EXPECT_EQ(link.sent[0], msg(0x80, 5, 99));
    EXPECT_EQ(link.sent[1], wr(true, 6, s.table1[0]));
    EXPECT_EQ(link.sent[107], wr(true, 112, s.table1[106]));
    EXPECT_EQ(link.sent[108], msg(0x88, 4));
    EXPECT_EQ(link.sent[109], msg(0x81, 4, 0x7E)); // 254: bit 7 in status bit 0
    EXPECT_EQ(link.sent[110], msg(0x88, 5));
    EXPECT_EQ(link.sent[111], msg(0x88, 6));
    EXPECT_EQ(link.sent.back(), msg(0x88, 112));
    // The last entry read back: (106 x 7 + 3) & 0xFF = 233.
    EXPECT_EQ(transfer.progressCaption(), "MDX verifica curva 1: 112 - E9");
}

TEST_F(CurveTransferTest, BothCurvesIntoMsxFillAndVerifyBothTables) {
    CurveTransfer::Setup s{.master = false, .choice = 12, .maxRpm = 1050, .table1 = rampTable(1)};
    s.table2 = rampTable(200);
    link.sent.clear();
    EXPECT_EQ(run(s), CurveTransfer::Outcome::Completed);
    const UnitBytes& m = module(UnitModuleId::MSX);
    EXPECT_EQ(m[5], 10); // 1050 \ 100
    EXPECT_EQ(m[4], 0xFC);
    EXPECT_EQ(m[113 + 106], s.table2[106]);
    // Addresses above 127 carry bit 7 in status bit 1; values above 127 in bit 0.
    EXPECT_EQ(link.sentCount(wr(false, 128, s.table2[15])), 1);
    EXPECT_EQ(link.sentCount(wr(false, 113, s.table2[0])), 1);
    EXPECT_EQ(link.sentCount(msg(0x8C | 2, 91)), 1); // reads back 219
    EXPECT_EQ(link.sent.size(), 1u + 214 + 2 + 1 + 214);
    EXPECT_EQ(transfer.progress().percent(), 100);
}

TEST_F(CurveTransferTest, WrongModuleSilenceAndDifferentValuesFail) {
    CurveTransfer::Setup s{.table1 = rampTable(5)};
    link.unit.setFaults({.wrongModuleProbability = 1});
    EXPECT_EQ(run(s), CurveTransfer::Outcome::Failed);
    EXPECT_EQ(transfer.ProgState, 4); // the flags read came from MSX
    EXPECT_FALSE(transfer.running());
    link.unit.setFaults({.silent = true});
    EXPECT_EQ(run(s), CurveTransfer::Outcome::NoAnswer);
    EXPECT_EQ(ticks, 2 + 107 + 1 + 13); // writes, the flags read, then about a second

    // A byte that changes behind the transfer's back before it is read back fails it there:
    // the maximum rpm (75 at address 5) before the flags, table entry 44 (address 50) later.
    link.unit.setFaults({});
    s.maxRpm = 7500;
    for (auto [state, address, value] : {std::tuple{4, 5, 74}, {6, 50, s.table1[44] ^ 1}}) {
        transfer.start(s);
        CurveTransfer::Outcome o = CurveTransfer::Outcome::Running;
        while (o == CurveTransfer::Outcome::Running && transfer.ProgState != state) {
            o = transfer.tick();
            step();
        }
        port.ProgAddr = address;
        port.ProgValue = value;
        port.SendWriteRequest();
        step();
        while (o == CurveTransfer::Outcome::Running) {
            o = transfer.tick();
            step();
        }
        EXPECT_EQ(o, CurveTransfer::Outcome::Failed) << address;
        EXPECT_EQ(transfer.ProgState, state == 4 ? 5 : 6);
        if (state == 6) {
            EXPECT_EQ(transfer.ProgIndex, 44);
        }
    }
}
