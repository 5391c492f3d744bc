#include "coil/CoilTransfer.h"
#include "transport/PortFixture.h"

using namespace protocol;
using namespace coil;

using coil::CoilTransfer;
using Outcome = CoilTransfer::Outcome;

namespace {
uint32_t msg(uint32_t status, uint32_t data1, uint32_t data2) {
    return status | data1 << 8 | data2 << 16;
}

struct CoilTransferTest : PortFixture {
    void SetUp() override { openOutput(); }
    // Ticks until the writes are out.
    void writeAll() {
        for (int i = 0; i < 7; ++i)
            ASSERT_EQ(transfer.tick(), Outcome::Running);
    }

    UnitReplyWait wait;
    CoilTransfer transfer{port, wait};
    // Dwell 0 5 8 9 10 11 and L 200 (above 127).
    const std::array<uint8_t, 7> program{0, 5, 8, 9, 10, 11, 200};
};
} // namespace

TEST_F(CoilTransferTest, MasterWritesSevenBytesThenReadsThemBack) {
    transfer.start(program, true);
    writeAll();
    // Every address is above 127: status 0x82, data1 = address - 128 (202 -> 74 ...
    // 208 -> 80); L 200 adds 1 for the value (0x83) and travels as 72.
    ASSERT_EQ(fake.sent.size(), 7u);
    EXPECT_EQ(fake.sent[0], msg(0x82, 74, 0));
    EXPECT_EQ(fake.sent[6], msg(0x83, 80, 72));
    EXPECT_EQ(transfer.ProgState, 8);

    // Read-back: request 0x8A (MDX read, address > 127), one per tick, each answered by
    // the unit's read reply echoing the address (value bit 7 in status bit 0).
    for (int i = 0; i < 7; ++i) {
        ASSERT_EQ(transfer.tick(), Outcome::Running) << i;
        ASSERT_EQ(fake.sent.back(), msg(0x8A, 74 + i, 0)) << i;
        const int v = program[static_cast<size_t>(i)];
        wait.offer(msg(0x8A | (v > 127 ? 1 : 0), 74 + i, v & 0x7F));
    }
    EXPECT_EQ(transfer.tick(), Outcome::Done);
    EXPECT_FALSE(transfer.running());
    EXPECT_EQ(fake.sent.size(), 14u);
}

TEST_F(CoilTransferTest, ADifferentByteOrSilenceFails) {
    transfer.start(program, true);
    writeAll();
    transfer.tick();
    wait.offer(msg(0x8A, 74, 0)); // 202 holds 0: right
    transfer.tick();
    wait.offer(msg(0x8A, 74, 5)); // a late answer for 202: not the one waited for
    wait.offer(msg(0x82, 75, 4)); // a write echo is no read answer
    wait.offer(msg(0x8A, 75, 4)); // 203 should hold 5
    EXPECT_EQ(transfer.tick(), Outcome::Mismatch);
    EXPECT_EQ(transfer.failedAddress(), 203);

    // Silence: still waiting nine ticks (900 ms) after the request, failed at the tenth.
    transfer.start(program, true);
    writeAll();
    transfer.tick();
    for (int i = 0; i < 9; ++i)
        ASSERT_EQ(transfer.tick(), Outcome::Running) << i;
    EXPECT_EQ(transfer.tick(), Outcome::NoAnswer);
    EXPECT_EQ(transfer.failedAddress(), 202);

    // The master answering a slave request (0x8E) fails the transfer.
    transfer.start(program, false);
    writeAll();
    transfer.tick();
    wait.offer(msg(0x8A, 74, 0));
    EXPECT_EQ(transfer.tick(), Outcome::WrongModule);
    EXPECT_EQ(transfer.failedAddress(), 202);
}
