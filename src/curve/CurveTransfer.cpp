#include "curve/CurveTransfer.h"
#include "transport/MidiPort.h"
#include <cstdio>

using namespace protocol;

namespace curve {

namespace {
constexpr int kFlagsAddress = 4;
constexpr int kMaxRpmAddress = 5;
constexpr int kCurve1Address = 6;
constexpr int kCurve2Address = 113;

int firstAddress(int curve) {
    return curve == 1 ? kCurve1Address : kCurve2Address;
}
} // namespace

void CurveTransfer::start(const Setup& setup) {
    setup_ = setup;
    ProgState = 0;
    flagsStep_ = 0;
    running_ = true;
    wait_.cancel();
    const int curves = setup.choice == 12 ? 2 : 1;
    progress_.start(2 * (1 + StoredEntries * curves) + 1);
}

void CurveTransfer::stop() {
    running_ = false;
    wait_.cancel();
}

int CurveTransfer::entry(int curve, int index) const {
    const Table& t = curve == 2 ? setup_.table2 : setup_.table1;
    return t[static_cast<size_t>(index)] & 0xFF;
}

void CurveTransfer::write(int address, int value) {
    port_.ProgAddr = address;
    port_.ProgValue = value;
    port_.ProgMaster = setup_.master;
    port_.SendWriteRequest();
}

void CurveTransfer::read(int address) {
    port_.ProgAddr = address;
    port_.ProgMaster = setup_.master;
    wait_.expectRead(setup_.master, address);
    port_.SendReadRequest();
}

// "MDX programmazione 1: 6 - 1F"; numbers carry one leading blank.
void CurveTransfer::setCaption(bool verifying) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%X", port_.ProgValue & 0xFF);
    caption_ = std::string(setup_.master ? "MDX" : "MSX") +
               (verifying ? " verifica curva" : " programmazione") + " " +
               std::to_string(ProgCurve) + ": " + std::to_string(port_.ProgAddr) + " - " + hex;
}

CurveTransfer::Outcome CurveTransfer::finish(Outcome outcome) {
    running_ = false;
    wait_.cancel();
    return outcome;
}

CurveTransfer::Outcome CurveTransfer::waitOutcome(int tickMs, bool& answered) {
    answered = false;
    switch (wait_.state()) {
    case UnitReplyWait::State::Answered:
        answered = true;
        return Outcome::Running;
    case UnitReplyWait::State::WrongModule:
        return finish(Outcome::Failed);
    case UnitReplyWait::State::Waiting:
        wait_.elapse(tickMs);
        if (wait_.state() == UnitReplyWait::State::TimedOut) return finish(Outcome::NoAnswer);
        return Outcome::Running;
    default:
        return finish(Outcome::NoAnswer);
    }
}

CurveTransfer::Outcome CurveTransfer::tick(int tickMs) {
    if (!running_) return Outcome::Running;
    progress_.elapsedMs += tickMs;
    bool answered = false;
    switch (ProgState) {
    case 0:
        ProgBoth = setup_.choice == 12;
        ProgCurve = ProgBoth ? 1 : setup_.choice;
        ProgIndex = 0;
        position_ = 0;
        port_.ProgAddr = kMaxRpmAddress;
        port_.ProgValue = setup_.maxRpm / 100;
        setCaption(false);
        ProgState = 1;
        return Outcome::Running;
    case 1:
        write(kMaxRpmAddress, setup_.maxRpm / 100);
        ++progress_.done;
        port_.ProgAddr = firstAddress(ProgCurve);
        ProgState = 2;
        return Outcome::Running;
    case 2: {
        const int address = port_.ProgAddr;
        port_.ProgValue = entry(ProgCurve, ProgIndex);
        setCaption(false);
        position_ = ProgIndex;
        write(address, port_.ProgValue);
        ++progress_.done;
        ++ProgIndex;
        port_.ProgAddr = address + 1;
        if (ProgIndex == StoredEntries) {
            if (ProgBoth && ProgCurve == 1) {
                ProgCurve = 2;
                ProgIndex = 0; // ProgAddr is already 113
            } else {
                ProgState = 4;
                flagsStep_ = 0;
            }
        }
        return Outcome::Running;
    }
    case 4:
        if (flagsStep_ == 0) {
            read(kFlagsAddress);
            flagsStep_ = 1;
            return Outcome::Running;
        }
        if (const Outcome o = waitOutcome(tickMs, answered); !answered) return o;
        if (flagsStep_ == 1) {
            // Curve 1 clears bit 0, curve 2 bit 1, both curves both.
            int value = wait_.value();
            value &= ProgBoth ? 252 : ProgCurve == 1 ? 254 : 253;
            wait_.expectWrite(setup_.master, kFlagsAddress);
            write(kFlagsAddress, value);
            flagsStep_ = 2;
            return Outcome::Running;
        }
        ++progress_.done;
        ProgState = 5;
        ProgCurve = ProgBoth ? 1 : setup_.choice;
        read(kMaxRpmAddress);
        return Outcome::Running;
    case 5:
        if (const Outcome o = waitOutcome(tickMs, answered); !answered) return o;
        if (wait_.value() != (setup_.maxRpm / 100 & 0xFF)) return finish(Outcome::Failed);
        ++progress_.done;
        ProgIndex = 0;
        ProgState = 6;
        read(firstAddress(ProgCurve));
        return Outcome::Running;
    case 6: {
        if (const Outcome o = waitOutcome(tickMs, answered); !answered) return o;
        port_.ProgValue = wait_.value();
        if (port_.ProgValue != entry(ProgCurve, ProgIndex)) return finish(Outcome::Failed);
        setCaption(true);
        position_ = ProgIndex;
        ++progress_.done;
        ++ProgIndex;
        if (ProgIndex == StoredEntries) {
            if (!(ProgBoth && ProgCurve == 1)) return finish(Outcome::Completed);
            ProgCurve = 2;
            ProgIndex = 0;
        }
        read(firstAddress(ProgCurve) + ProgIndex);
        return Outcome::Running;
    }
    default:
        return finish(Outcome::Failed);
    }
}

} // namespace curve
