#include "measure/ClosedLoop.h"

#include "midi/MidiPort.h"

#include <algorithm>
#include <cmath>

namespace closedloop {

namespace {
constexpr int kFirstEntry = curve::FirstLowByte; // 500 rpm
constexpr int kLastEntry = 106;                  // 9,900 rpm, the last one the unit holds
constexpr int kCurve1Address = 6;
constexpr int kCurve2Address = 113;

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

Summary compare(const RowStore& advanceRows, const curve::Table& table,
                std::vector<std::optional<double>>* differences) {
    Summary s;
    for (std::size_t i = 0; i < advanceRows.size(); ++i) {
        std::optional<double> difference;
        if (const auto point = advancePoint(advanceRows.row(i))) {
            if (const auto programmed = programmedAdvance(table, static_cast<double>(point->rpm))) {
                difference = static_cast<double>(point->tenths) / 10.0 - *programmed;
                if (s.compared == 0 || std::fabs(*difference) > std::fabs(s.largest)) {
                    s.largest = *difference;
                    s.rpmOfLargest = point->rpm;
                }
                ++s.compared;
            }
        }
        if (differences) differences->push_back(difference);
    }
    return s;
}

void TableReadBack::start(bool master, int curveNo) {
    master_ = master;
    base_ = curveNo == 2 ? kCurve2Address : kCurve1Address;
    next_ = 0;
    table_.fill(0);
    running_ = true;
    requestNext();
}

void TableReadBack::requestNext() {
    port_.ProgAddr = base_ + next_;
    port_.ProgMaster = master_;
    wait_.expectRead(master_, base_ + next_);
    port_.SendReadRequest();
}

TableReadBack::Outcome TableReadBack::tick(int ms) {
    if (!running_) return Outcome::Completed;
    // Every reply that came in since the last tick moves the read-back on.
    while (wait_.state() == UnitReplyWait::State::Answered) {
        table_[static_cast<std::size_t>(next_)] = static_cast<uint16_t>(wait_.value());
        if (++next_ == curve::StoredEntries) {
            running_ = false;
            wait_.cancel();
            return Outcome::Completed;
        }
        requestNext();
    }
    switch (wait_.state()) {
    case UnitReplyWait::State::WrongModule:
        running_ = false;
        return Outcome::WrongModule;
    case UnitReplyWait::State::TimedOut:
        running_ = false;
        return Outcome::NoAnswer;
    default:
        wait_.elapse(ms);
        if (wait_.state() == UnitReplyWait::State::TimedOut) {
            running_ = false;
            return Outcome::NoAnswer;
        }
        return Outcome::Running;
    }
}

} // namespace closedloop
