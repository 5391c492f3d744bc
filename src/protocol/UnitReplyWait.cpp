#include "protocol/UnitReplyWait.h"

namespace protocol {

void UnitReplyWait::expect(Kind kind, bool master, int address, int limitMs) {
    kind_ = kind;
    master_ = master;
    address_ = address;
    leftMs_ = limitMs;
    status_ = 0;
    value_ = 0;
    state_ = State::Waiting;
}

void UnitReplyWait::expectRead(bool master, int address, int limitMs) {
    expect(Kind::Read, master, address, limitMs);
}

void UnitReplyWait::expectWrite(bool master, int address, int limitMs) {
    expect(Kind::Write, master, address, limitMs);
}

void UnitReplyWait::offer(uint32_t message) {
    if (state_ != State::Waiting) return;
    const int status = static_cast<int>(message & 0xFF);
    const int data1 = static_cast<int>((message >> 8) & 0x7F);
    const int data2 = static_cast<int>((message >> 16) & 0x7F);
    // Unit to PC: status bit 1 carries bit 7 of the address, bit 0 bit 7 of the value;
    // bit 2 is the module (0 MDX, 1 MSX), bit 3 read (1) or write (0).
    const int kind = kind_ == Kind::Read ? 0x88 : 0x80;
    if ((status & 0xF8) != kind) return;
    if (data1 + 128 * ((status >> 1) & 1) != address_) return;
    status_ = status;
    value_ = data2 + 128 * (status & 1);
    const bool fromMaster = (status & 0x04) == 0;
    state_ = fromMaster == master_ ? State::Answered : State::WrongModule;
}

void UnitReplyWait::elapse(int ms) {
    if (state_ != State::Waiting) return;
    leftMs_ -= ms;
    if (leftMs_ <= 0) state_ = State::TimedOut;
}

} // namespace protocol
