#pragma once
#include "protocol/InputNotices.h"
#include <QLabel>
#include <cstdint>
#include <functional>

class QTimer;

namespace protocol {

class UnitLink;

// A recording's word on a silent unit: once no data came for InputSilence::LimitMs after
// Start, the label shows "Nessun dato dall'unità da N s" (or the English), brought up to date
// by its own timer (TimerNessunDato); the next data hides it. Hidden while nothing is
// recorded, and while the link holds the recordings suspended (a pause is no silence).
class SilenceLabel : public QLabel {
    Q_OBJECT
public:
    static constexpr int CheckIntervalMs = 500;

    SilenceLabel(int langOffset, const UnitLink* link, QWidget* parent);
    // A recording starts / ends.
    void start();
    void stop();
    // Data came: cheap enough for every row.
    void arrived();
    // What TimerNessunDato does.
    void check();
    // Milliseconds from any origin; tests give the unit's time.
    void setMillisecondClock(std::function<int64_t()> clock) { msClock_ = std::move(clock); }

private:
    int langOffset_;
    const UnitLink* link_;
    QTimer* timer_;
    InputSilence silence_;
    std::function<int64_t()> msClock_;
};

} // namespace protocol
