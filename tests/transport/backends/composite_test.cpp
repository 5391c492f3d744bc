#include "support/FakeMidiSystem.h"
#include "transport/backends/CompositeMidiSystem.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

struct Received {
    std::vector<uint32_t> params;
    static void proc(void* self, uint32_t msg, uint32_t param) {
        if (msg == MidiInData) static_cast<Received*>(self)->params.push_back(param);
    }
};

FakeMidiSystem devices(std::vector<std::string> outs, std::vector<std::string> ins) {
    FakeMidiSystem system;
    system.outNames = std::move(outs);
    system.inNames = std::move(ins);
    return system;
}

class CompositeTest : public ::testing::Test {
protected:
    std::string outName(int id) {
        MidiCaps caps;
        return all.outCaps(id, caps) == MidiOk ? caps.name : "?";
    }
    FakeMidiSystem unit = devices({"Unit Out"}, {"Unit In"});
    FakeMidiSystem real = devices({"Synth A", "Synth B"}, {"Keys A", "Keys B", "Keys C"});
    CompositeMidiSystem all{{&unit, &real}};
};

TEST_F(CompositeTest, DevicesAreNumberedInTurnHandlesAreOurOwnAndCodesComeThrough) {
    ASSERT_EQ(all.outCount(), 3);
    ASSERT_EQ(all.inCount(), 4);
    EXPECT_EQ(outName(2), "Synth B");
    MidiCaps caps;
    ASSERT_EQ(all.inCaps(3, caps), MidiOk);
    EXPECT_EQ(caps.name, "Keys C");
    EXPECT_EQ(all.outCaps(3, caps), MidiBadDeviceId);
    EXPECT_EQ(all.inCaps(-1, caps), MidiBadDeviceId);

    uint32_t hUnit = 0, hReal = 0, in = 0;
    ASSERT_EQ(all.outOpen(0, hUnit), MidiOk);
    ASSERT_EQ(all.outOpen(2, hReal), MidiOk);
    EXPECT_NE(hUnit, hReal); // both fakes hand out the same first handle
    EXPECT_EQ(all.outShortMsg(hUnit, 0x00017F82), MidiOk);
    EXPECT_EQ(all.outShortMsg(hReal, 0x00643C90), MidiOk);
    EXPECT_EQ(unit.sent, std::vector<uint32_t>{0x00017F82});
    EXPECT_EQ(real.sent, std::vector<uint32_t>{0x00643C90});

    // Handles of one direction are unknown to the other; closed ones to both.
    ASSERT_EQ(all.inOpen(0, in, nullptr, nullptr), MidiOk);
    EXPECT_EQ(all.inStart(hUnit), MidiInvalidHandle);
    EXPECT_EQ(all.outShortMsg(in, 0x90), MidiInvalidHandle);
    EXPECT_EQ(all.outClose(hUnit), MidiOk);
    EXPECT_EQ(all.outClose(hUnit), MidiInvalidHandle);
    EXPECT_EQ(unit.calls.outClose, 1);

    // Failed calls keep their codes; a refused close leaves the handle usable.
    uint32_t h = 12345;
    real.outOpenResult = MidiAllocated;
    EXPECT_EQ(all.outOpen(1, h), MidiAllocated);
    EXPECT_EQ(h, 12345u);
    ASSERT_EQ(all.outOpen(0, h), MidiOk);
    unit.outShortMsgResults = {MidiNotReady};
    EXPECT_EQ(all.outShortMsg(h, 0x90), MidiNotReady);
    all.notReadyPause();
    EXPECT_EQ(unit.calls.notReadyPause, 1);
    EXPECT_EQ(real.calls.notReadyPause, 0);
    unit.outCloseResult = MidiError;
    EXPECT_EQ(all.outClose(h), MidiError);
    unit.outCloseResult = MidiOk;
    EXPECT_EQ(all.outClose(h), MidiOk);
}

TEST_F(CompositeTest, NumbersFollowTheListsTakenLast) {
    CompositeMidiSystem one({&unit});
    uint32_t first = 0;
    ASSERT_EQ(one.outOpen(0, first), MidiOk);
    one.addBackend(&real);
    one.addBackend(nullptr);
    EXPECT_EQ(one.backendCount(), 2);
    EXPECT_EQ(one.outShortMsg(first, 0xD2), MidiOk); // still reachable
    EXPECT_EQ(unit.sent, std::vector<uint32_t>{0xD2});

    ASSERT_EQ(all.outCount(), 3);
    unit.outNames.push_back("Unit Out 2");
    EXPECT_EQ(outName(1), "Synth A"); // not listed again yet
    ASSERT_EQ(all.outCount(), 4);
    EXPECT_EQ(outName(1), "Unit Out 2");

    CompositeMidiSystem none;
    EXPECT_EQ(none.outCount(), 0);
    EXPECT_EQ(none.outOpen(0, first), MidiBadDeviceId);
}

TEST_F(CompositeTest, InputAndThruStayWithTheOwningBackend) {
    Received got;
    uint32_t keysB = 0, inUnit = 0, outUnit = 0, outReal = 0;
    ASSERT_EQ(all.inOpen(2, keysB, &Received::proc, &got), MidiOk);
    ASSERT_EQ(all.inStart(keysB), MidiOk);
    EXPECT_TRUE(real.inject(0x00403090));
    EXPECT_EQ(got.params, std::vector<uint32_t>{0x00403090});
    EXPECT_EQ(all.inClose(keysB), MidiOk);
    EXPECT_FALSE(real.inputOpen());

    ASSERT_EQ(all.inOpen(0, inUnit, nullptr, nullptr), MidiOk);
    ASSERT_EQ(all.outOpen(0, outUnit), MidiOk);
    ASSERT_EQ(all.outOpen(1, outReal), MidiOk);
    EXPECT_EQ(all.connect(inUnit, outReal), MidiError);
    EXPECT_EQ(real.calls.connect + unit.calls.connect, 0);
    EXPECT_EQ(all.connect(outUnit, inUnit), MidiInvalidHandle);
    EXPECT_EQ(all.connect(inUnit, outUnit), MidiOk);
    EXPECT_TRUE(unit.thruConnected());
    EXPECT_EQ(all.disconnect(inUnit, outUnit), MidiOk);
    EXPECT_FALSE(unit.thruConnected());
}

} // namespace
