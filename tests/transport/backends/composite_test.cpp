#include "support/FakeMidiSystem.h"
#include "transport/backends/CompositeMidiSystem.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

struct Received {
    std::vector<uint32_t> params;
    static void proc(void* self, uint32_t msg, uint32_t param) {
        if (msg == mim::Data) static_cast<Received*>(self)->params.push_back(param);
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
        return all.outCaps(id, caps) == mmr::Ok ? caps.name : "?";
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
    ASSERT_EQ(all.inCaps(3, caps), mmr::Ok);
    EXPECT_EQ(caps.name, "Keys C");
    EXPECT_EQ(all.outCaps(3, caps), mmr::BadDeviceId);
    EXPECT_EQ(all.inCaps(-1, caps), mmr::BadDeviceId);

    uint32_t hUnit = 0, hReal = 0, in = 0;
    ASSERT_EQ(all.outOpen(0, hUnit), mmr::Ok);
    ASSERT_EQ(all.outOpen(2, hReal), mmr::Ok);
    EXPECT_NE(hUnit, hReal); // both fakes hand out the same first handle
    EXPECT_EQ(all.outShortMsg(hUnit, 0x00017F82), mmr::Ok);
    EXPECT_EQ(all.outShortMsg(hReal, 0x00643C90), mmr::Ok);
    EXPECT_EQ(unit.sent, std::vector<uint32_t>{0x00017F82});
    EXPECT_EQ(real.sent, std::vector<uint32_t>{0x00643C90});

    // Handles of one direction are unknown to the other; closed ones to both.
    ASSERT_EQ(all.inOpen(0, in, nullptr, nullptr), mmr::Ok);
    EXPECT_EQ(all.inStart(hUnit), mmr::InvalidHandle);
    EXPECT_EQ(all.outShortMsg(in, 0x90), mmr::InvalidHandle);
    EXPECT_EQ(all.outClose(0), mmr::InvalidHandle);
    EXPECT_EQ(all.outClose(hUnit), mmr::Ok);
    EXPECT_EQ(all.outClose(hUnit), mmr::InvalidHandle);
    EXPECT_EQ(unit.calls.outClose, 1);

    // Failed calls keep their codes; a refused close leaves the handle usable.
    uint32_t h = 12345;
    real.outOpenResult = mmr::Allocated;
    EXPECT_EQ(all.outOpen(1, h), mmr::Allocated);
    EXPECT_EQ(h, 12345u);
    ASSERT_EQ(all.outOpen(0, h), mmr::Ok);
    unit.outShortMsgResults = {mmr::NotReady};
    EXPECT_EQ(all.outShortMsg(h, 0x90), mmr::NotReady);
    all.notReadyPause();
    EXPECT_EQ(unit.calls.notReadyPause, 1);
    EXPECT_EQ(real.calls.notReadyPause, 0);
    unit.outCloseResult = mmr::Error;
    EXPECT_EQ(all.outClose(h), mmr::Error);
    unit.outCloseResult = mmr::Ok;
    EXPECT_EQ(all.outClose(h), mmr::Ok);
}

TEST_F(CompositeTest, NumbersFollowTheListsTakenLast) {
    CompositeMidiSystem one({&unit});
    uint32_t first = 0;
    ASSERT_EQ(one.outOpen(0, first), mmr::Ok);
    one.addBackend(&real);
    one.addBackend(nullptr);
    EXPECT_EQ(one.backendCount(), 2);
    EXPECT_EQ(one.outShortMsg(first, 0xD2), mmr::Ok); // still reachable
    EXPECT_EQ(unit.sent, std::vector<uint32_t>{0xD2});

    ASSERT_EQ(all.outCount(), 3);
    unit.outNames.push_back("Unit Out 2");
    EXPECT_EQ(outName(1), "Synth A"); // not listed again yet
    ASSERT_EQ(all.outCount(), 4);
    EXPECT_EQ(outName(1), "Unit Out 2");

    CompositeMidiSystem none;
    EXPECT_EQ(none.outCount(), 0);
    EXPECT_EQ(none.outOpen(0, first), mmr::BadDeviceId);
}

TEST_F(CompositeTest, InputAndThruStayWithTheOwningBackend) {
    Received got;
    uint32_t keysB = 0, inUnit = 0, outUnit = 0, outReal = 0;
    ASSERT_EQ(all.inOpen(2, keysB, &Received::proc, &got), mmr::Ok);
    ASSERT_EQ(all.inStart(keysB), mmr::Ok);
    EXPECT_TRUE(real.inject(0x00403090));
    EXPECT_EQ(got.params, std::vector<uint32_t>{0x00403090});
    EXPECT_EQ(all.inClose(keysB), mmr::Ok);
    EXPECT_FALSE(real.inputOpen());

    ASSERT_EQ(all.inOpen(0, inUnit, nullptr, nullptr), mmr::Ok);
    ASSERT_EQ(all.outOpen(0, outUnit), mmr::Ok);
    ASSERT_EQ(all.outOpen(1, outReal), mmr::Ok);
    EXPECT_EQ(all.connect(inUnit, outReal), mmr::Error);
    EXPECT_EQ(real.calls.connect + unit.calls.connect, 0);
    EXPECT_EQ(all.connect(outUnit, inUnit), mmr::InvalidHandle);
    EXPECT_EQ(all.connect(inUnit, outUnit), mmr::Ok);
    EXPECT_TRUE(unit.thruConnected());
    EXPECT_EQ(all.disconnect(inUnit, outUnit), mmr::Ok);
    EXPECT_FALSE(unit.thruConnected());
}

} // namespace
