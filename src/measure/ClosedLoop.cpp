#include "measure/ClosedLoop.h"

#include "base/WindowRecord.h"
#include "transport/MidiPort.h"

#include <algorithm>
#include <cmath>

using namespace protocol;

namespace measure {

namespace {
constexpr int kFirstEntry = curve::FirstLowByte; // 500 rpm
constexpr int kLastEntry = 106;                  // 9,900 rpm, the last one the unit holds
constexpr int kCurve1Address = 6;
constexpr int kCurve2Address = 113;
constexpr uint8_t kProgrammingMode = 0xD1; // sent, and answered when granted

int entryOf(double rpm) {
    const double held = std::clamp(rpm, 500.0, 9900.0);
    return kFirstEntry + static_cast<int>(std::lround(held - 500.0) / 100);
}
} // namespace

std::optional<double> programmedAdvance(const curve::Table& table, double rpm) {
    const int count = curve::tableCount(table, entryOf(rpm));
    if (count == 0) return std::nullopt;
    return curve::countAdvance(count, rpm);
}

std::vector<AdvancePoint> referenceCurve(const curve::Table& table) {
    std::vector<AdvancePoint> out;
    for (int entry = kFirstEntry; entry <= kLastEntry; ++entry) {
        const int count = curve::tableCount(table, entry);
        if (count == 0) continue;
        const int from = 500 + (entry - kFirstEntry) * 100;
        for (const int rpm : {from, from + 99}) {
            const double tenths = curve::countAdvance(count, rpm) * 10.0;
            out.push_back({rpm, static_cast<int64_t>(std::lround(tenths))});
        }
    }
    return out;
}

std::optional<double> ClosedLoopSummary::add(std::string_view advanceRow,
                                             const curve::Table& table) {
    const auto point = advancePoint(advanceRow);
    if (!point) return std::nullopt;
    const auto programmed = programmedAdvance(table, static_cast<double>(point->rpm));
    if (!programmed) return std::nullopt;
    const double difference = static_cast<double>(point->tenths) / 10.0 - *programmed;
    if (compared == 0 || std::fabs(difference) > std::fabs(largest)) {
        largest = difference;
        rpmOfLargest = point->rpm;
    }
    ++compared;
    return difference;
}

void TableReadBack::start(bool master, int curveNo) {
    master_ = master;
    base_ = curveNo == 2 ? kCurve2Address : kCurve1Address;
    next_ = 0;
    table_.fill(0);
    modeAnswer_ = 0;
    modeTimedOut_ = false;
    wait_.cancel();
    const bool asked = link_ && link_->enterMode(base::AdvanceWindow, UnitMode::Programming, this);
    phase_ = asked ? Phase::EnteringMode : Phase::Idle;
}

void TableReadBack::stop() {
    if (running()) finish(Outcome::NoAnswer);
}

void TableReadBack::requestNext() {
    port_.ProgAddr = base_ + next_;
    port_.ProgMaster = master_;
    wait_.expectRead(master_, base_ + next_);
    port_.SendReadRequest();
}

// However it ends, the unit goes back to run mode (the link sends 0xD0 once).
TableReadBack::Outcome TableReadBack::finish(Outcome outcome) {
    phase_ = Phase::Idle;
    wait_.cancel();
    if (link_) link_->leaveMode(base::AdvanceWindow);
    return outcome;
}

TableReadBack::Outcome TableReadBack::tick(int ms) {
    if (!running()) return Outcome::Completed;
    if (phase_ == Phase::EnteringMode) {
        if (modeTimedOut_) return finish(Outcome::NoAnswer);
        if (modeAnswer_ == 0) return Outcome::Running;
        if (modeAnswer_ != kProgrammingMode) return finish(Outcome::Refused);
        phase_ = Phase::Reading;
        requestNext();
    }
    // Every reply that came in since the last tick moves the read-back on.
    while (phase_ == Phase::Reading && wait_.state() == UnitReplyWait::State::Answered) {
        table_[static_cast<std::size_t>(next_)] = static_cast<uint16_t>(wait_.value());
        if (++next_ == curve::StoredEntries) return finish(Outcome::Completed);
        requestNext();
    }
    switch (wait_.state()) {
    case UnitReplyWait::State::WrongModule:
        return finish(Outcome::WrongModule);
    case UnitReplyWait::State::Waiting:
        wait_.elapse(ms);
        if (wait_.state() == UnitReplyWait::State::TimedOut) return finish(Outcome::NoAnswer);
        return Outcome::Running;
    default:
        return finish(Outcome::NoAnswer);
    }
}

} // namespace measure
