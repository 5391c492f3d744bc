#include "coil/CoilTransfer.h"
#include "transport/MidiPort.h"

using namespace protocol;

namespace coil {

namespace {
constexpr int kFirstRecordByte = 261;
constexpr int kLastWriteState = 7;
constexpr int kVerifyState = 8;
} // namespace

void CoilTransfer::start(const std::array<uint8_t, TransferBytes>& bytes, bool master) {
    bytes_ = bytes;
    master_ = master;
    port_.ProgMaster = master;
    ProgState = 0;
    ProgIndex = 0;
    failedAddress_ = 0;
    wait_.cancel();
    running_ = true;
    progress_.start(2 * TransferBytes);
}

void CoilTransfer::stop() {
    finish(Outcome::Done);
}

CoilTransfer::Outcome CoilTransfer::finish(Outcome o) {
    running_ = false;
    wait_.cancel();
    if (o != Outcome::Done) failedAddress_ = address_;
    return o;
}

void CoilTransfer::sendRead() {
    port_.ProgMaster = master_;
    port_.ProgAddr = address_;
    wait_.expectRead(master_, address_);
    port_.SendReadRequest();
}

CoilTransfer::Outcome CoilTransfer::tick(int tickMs) {
    if (!running_) return Outcome::Done;
    progress_.elapsedMs += tickMs;
    if (ProgState == 0) {
        ProgState = 1;
        ProgIndex = kFirstRecordByte;
        address_ = FirstAddress;
    }
    if (ProgState <= kLastWriteState) {
        port_.ProgMaster = master_;
        port_.ProgAddr = address_;
        port_.ProgValue = bytes_[static_cast<std::size_t>(ProgIndex - kFirstRecordByte)];
        port_.SendWriteRequest();
        ++progress_.done;
        ++address_;
        ++ProgState;
        ++ProgIndex;
        if (ProgState == kVerifyState) {
            ProgIndex = kFirstRecordByte;
            address_ = FirstAddress;
        }
        return Outcome::Running;
    }

    switch (wait_.state()) {
    case UnitReplyWait::State::Idle: // the first read
        sendRead();
        return Outcome::Running;
    case UnitReplyWait::State::Waiting:
        wait_.elapse(tickMs);
        if (wait_.state() == UnitReplyWait::State::TimedOut) return finish(Outcome::NoAnswer);
        return Outcome::Running;
    case UnitReplyWait::State::WrongModule:
        return finish(Outcome::WrongModule);
    case UnitReplyWait::State::Answered:
        break;
    default:
        return finish(Outcome::NoAnswer);
    }
    port_.ProgValue = wait_.value();
    if (wait_.value() != bytes_[static_cast<std::size_t>(ProgIndex - kFirstRecordByte)])
        return finish(Outcome::Mismatch);
    ++progress_.done;
    ++address_;
    ++ProgIndex;
    if (ProgIndex == kFirstRecordByte + TransferBytes) return finish(Outcome::Done);
    sendRead();
    return Outcome::Running;
}

} // namespace coil
