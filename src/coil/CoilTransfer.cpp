#include "coil/CoilTransfer.h"
#include "midi/MidiPort.h"

namespace coil {

namespace {
constexpr int kFirstRecordByte = 261;
constexpr int kLastWriteState = 7;
constexpr int kVerifyState = 8;
constexpr uint32_t kReadReply = 0x88; // read answer kind; bit 2 the module (MSX)
constexpr uint32_t kModuleBit = 0x04;
} // namespace

void CoilTransfer::start(const std::array<uint8_t, TransferBytes>& bytes, bool master) {
    bytes_ = bytes;
    master_ = master;
    port_.ProgMaster = master;
    ProgState = 0;
    ProgIndex = 0;
    running_ = true;
    waiting_ = false;
    failedAddress_ = 0;
}

CoilTransfer::Outcome CoilTransfer::finish(Outcome o) {
    running_ = false;
    waiting_ = false;
    return o;
}

CoilTransfer::Outcome CoilTransfer::tick(int64_t nowMs) {
    if (!running_) return Outcome::Done;
    if (ProgState == 0) {
        ProgState = 1;
        ProgIndex = kFirstRecordByte;
        address_ = FirstAddress;
    }
    port_.ProgMaster = master_;
    port_.ProgAddr = address_;
    if (ProgState <= kLastWriteState) {
        port_.ProgValue = bytes_[static_cast<std::size_t>(ProgIndex - kFirstRecordByte)];
        port_.SendWriteRequest();
        ++address_;
        ++ProgState;
        ++ProgIndex;
        if (ProgState == kVerifyState) {
            ProgIndex = kFirstRecordByte;
            address_ = FirstAddress;
        }
        return Outcome::Running;
    }

    if (waiting_) {
        if (wrongModule_) {
            failedAddress_ = address_;
            return finish(Outcome::WrongModule);
        }
        if (!answered_) {
            if (nowMs - askedAtMs_ < ReplyLimitMs) return Outcome::Running;
            failedAddress_ = address_;
            return finish(Outcome::NoAnswer);
        }
        port_.ProgValue = answer_;
        if (answer_ != bytes_[static_cast<std::size_t>(ProgIndex - kFirstRecordByte)]) {
            failedAddress_ = address_;
            return finish(Outcome::Mismatch);
        }
        waiting_ = false;
        ++address_;
        ++ProgIndex;
        if (ProgIndex == kFirstRecordByte + TransferBytes) return finish(Outcome::Done);
    }
    answered_ = false;
    wrongModule_ = false;
    waiting_ = true;
    askedAtMs_ = nowMs;
    port_.ProgAddr = address_;
    port_.SendReadRequest();
    return Outcome::Running;
}

void CoilTransfer::unitMessage(uint32_t msg) {
    if (!running_ || !waiting_ || answered_) return;
    const uint32_t status = msg & 0xFF;
    if ((status & 0xF8) != kReadReply) return;
    const int address = static_cast<int>((msg >> 8) & 0x7F) + ((status & 0x02) ? 128 : 0);
    if (address != address_) return;
    const bool fromMsx = (status & kModuleBit) != 0;
    if (fromMsx == master_) {
        wrongModule_ = true;
        return;
    }
    answer_ = static_cast<int>((msg >> 16) & 0x7F) + ((status & 0x01) ? 128 : 0);
    answered_ = true;
}

} // namespace coil
