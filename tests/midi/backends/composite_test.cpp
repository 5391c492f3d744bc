#include "midi/FakeMidiSystem.h"
#include "midi/backends/CompositeMidiSystem.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

struct Received {
    std::vector<uint32_t> params;
    static void proc(void* self, uint32_t msg, uint32_t param) {
        if (msg == mim::Data) static_cast<Received*>(self)->params.push_back(param);
    }
};

class CompositeTest : public ::testing::Test {
protected:
    CompositeTest() {
        unit.outNames = {"Unit Out"};
        unit.inNames = {"Unit In"};
        real.outNames = {"Synth A", "Synth B"};
        real.inNames = {"Keys A", "Keys B", "Keys C"};
    }
    FakeMidiSystem unit;
    FakeMidiSystem real;
};

TEST_F(CompositeTest, ListsFollowOneAnother) {
    CompositeMidiSystem all({&unit, &real});
    ASSERT_EQ(all.outCount(), 3);
    ASSERT_EQ(all.inCount(), 4);
    MidiCaps caps;
    ASSERT_EQ(all.outCaps(0, caps), mmr::Ok);
    EXPECT_EQ(caps.name, "Unit Out");
    ASSERT_EQ(all.outCaps(2, caps), mmr::Ok);
    EXPECT_EQ(caps.name, "Synth B");
    ASSERT_EQ(all.inCaps(3, caps), mmr::Ok);
    EXPECT_EQ(caps.name, "Keys C");
    EXPECT_EQ(all.outCaps(3, caps), mmr::BadDeviceId);
    EXPECT_EQ(all.inCaps(-1, caps), mmr::BadDeviceId);

    // A backend's own answer comes through unchanged.
    real.inCapsResult[1] = mmr::NoDriver;
    EXPECT_EQ(all.inCaps(2, caps), mmr::NoDriver);
}

TEST_F(CompositeTest, OpensAndSendsThroughTheOwningBackend) {
    CompositeMidiSystem all({&unit, &real});
    all.outCount();
    uint32_t hUnit = 0, hReal = 0;
    ASSERT_EQ(all.outOpen(0, hUnit), mmr::Ok);
    ASSERT_EQ(all.outOpen(2, hReal), mmr::Ok);
    // Both fakes hand out the same first handle; ours differ.
    EXPECT_NE(hUnit, hReal);
    EXPECT_NE(hUnit, 0u);
    EXPECT_NE(hReal, 0u);
    EXPECT_TRUE(unit.outputOpen());
    EXPECT_TRUE(real.outputOpen());

    EXPECT_EQ(all.outShortMsg(hUnit, 0x00017F82), mmr::Ok);
    EXPECT_EQ(all.outShortMsg(hReal, 0x00643C90), mmr::Ok);
    EXPECT_EQ(unit.sent, std::vector<uint32_t>{0x00017F82});
    EXPECT_EQ(real.sent, std::vector<uint32_t>{0x00643C90});

    EXPECT_EQ(all.outOpen(1, hReal), mmr::Allocated); // the fake holds one output
    EXPECT_EQ(all.outOpen(3, hReal), mmr::BadDeviceId);

    EXPECT_EQ(all.outClose(hUnit), mmr::Ok);
    EXPECT_FALSE(unit.outputOpen());
    EXPECT_EQ(all.outClose(hUnit), mmr::InvalidHandle);
    EXPECT_EQ(all.outShortMsg(hUnit, 0x90), mmr::InvalidHandle);
    EXPECT_EQ(unit.calls.outShortMsg, 1);
}

TEST_F(CompositeTest, HandlesOfOneDirectionAreUnknownToTheOther) {
    CompositeMidiSystem all({&unit, &real});
    uint32_t out = 0, in = 0;
    ASSERT_EQ(all.outOpen(0, out), mmr::Ok);
    ASSERT_EQ(all.inOpen(0, in, nullptr, nullptr), mmr::Ok);
    EXPECT_EQ(all.inStart(out), mmr::InvalidHandle);
    EXPECT_EQ(all.inClose(out), mmr::InvalidHandle);
    EXPECT_EQ(all.outShortMsg(in, 0x90), mmr::InvalidHandle);
    EXPECT_EQ(all.outClose(in), mmr::InvalidHandle);
    EXPECT_EQ(all.outClose(0), mmr::InvalidHandle);
    EXPECT_EQ(unit.calls.outClose, 0);
}

TEST_F(CompositeTest, FailedCallsKeepTheirCodes) {
    CompositeMidiSystem all({&unit, &real});
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

    // A close the backend refuses leaves the handle usable.
    unit.outCloseResult = mmr::Error;
    EXPECT_EQ(all.outClose(h), mmr::Error);
    unit.outCloseResult = mmr::Ok;
    EXPECT_EQ(all.outClose(h), mmr::Ok);
}

TEST_F(CompositeTest, InputReachesTheCallerUnchanged) {
    CompositeMidiSystem all({&unit, &real});
    Received got;
    uint32_t h = 0;
    ASSERT_EQ(all.inOpen(2, h, &Received::proc, &got), mmr::Ok); // "Keys B"
    EXPECT_FALSE(unit.inputOpen());
    EXPECT_FALSE(real.inject(0x00403090)); // not started yet
    ASSERT_EQ(all.inStart(h), mmr::Ok);
    EXPECT_TRUE(real.inject(0x00403090));
    ASSERT_EQ(all.inStop(h), mmr::Ok);
    EXPECT_FALSE(real.inject(0x00000080));
    EXPECT_EQ(got.params, std::vector<uint32_t>{0x00403090});
    EXPECT_EQ(all.inClose(h), mmr::Ok);
    EXPECT_FALSE(real.inputOpen());
}

TEST_F(CompositeTest, ThruStaysWithinOneBackend) {
    CompositeMidiSystem all({&unit, &real});
    uint32_t inUnit = 0, outUnit = 0, outReal = 0;
    ASSERT_EQ(all.inOpen(0, inUnit, nullptr, nullptr), mmr::Ok);
    ASSERT_EQ(all.outOpen(0, outUnit), mmr::Ok);
    ASSERT_EQ(all.outOpen(1, outReal), mmr::Ok);

    EXPECT_EQ(all.connect(inUnit, outReal), mmr::Error);
    EXPECT_EQ(real.calls.connect + unit.calls.connect, 0);
    EXPECT_EQ(all.connect(inUnit, outUnit), mmr::Ok);
    EXPECT_TRUE(unit.thruConnected());
    EXPECT_EQ(all.disconnect(inUnit, outUnit), mmr::Ok);
    EXPECT_FALSE(unit.thruConnected());
    EXPECT_EQ(all.connect(outUnit, inUnit), mmr::InvalidHandle);
}

TEST_F(CompositeTest, BackendAddedLaterListsAtTheEnd) {
    CompositeMidiSystem all({&unit});
    uint32_t first = 0;
    ASSERT_EQ(all.outOpen(0, first), mmr::Ok);
    ASSERT_EQ(all.outCount(), 1);

    all.addBackend(&real);
    all.addBackend(nullptr);
    EXPECT_EQ(all.backendCount(), 2);
    EXPECT_EQ(all.outCount(), 3);
    MidiCaps caps;
    ASSERT_EQ(all.outCaps(1, caps), mmr::Ok);
    EXPECT_EQ(caps.name, "Synth A");
    // What was open stays reachable by its handle.
    EXPECT_EQ(all.outShortMsg(first, 0xD2), mmr::Ok);
    EXPECT_EQ(unit.sent, std::vector<uint32_t>{0xD2});
}

TEST_F(CompositeTest, DeviceNumbersFollowTheListTakenLast) {
    CompositeMidiSystem all({&unit, &real});
    ASSERT_EQ(all.outCount(), 3);
    unit.outNames.push_back("Unit Out 2");
    // Not listed again yet: number 1 is still the real backend's first device.
    MidiCaps caps;
    ASSERT_EQ(all.outCaps(1, caps), mmr::Ok);
    EXPECT_EQ(caps.name, "Synth A");
    ASSERT_EQ(all.outCount(), 4);
    ASSERT_EQ(all.outCaps(1, caps), mmr::Ok);
    EXPECT_EQ(caps.name, "Unit Out 2");
}

TEST(CompositeMidiSystem, EmptyListsNothing) {
    CompositeMidiSystem none;
    EXPECT_EQ(none.outCount(), 0);
    EXPECT_EQ(none.inCount(), 0);
    uint32_t h = 0;
    EXPECT_EQ(none.outOpen(0, h), mmr::BadDeviceId);
    EXPECT_EQ(none.inOpen(0, h, nullptr, nullptr), mmr::BadDeviceId);
    EXPECT_EQ(none.inStart(1), mmr::InvalidHandle);
    none.notReadyPause();
}

} // namespace
