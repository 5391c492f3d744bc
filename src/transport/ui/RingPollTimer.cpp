#include "transport/ui/RingPollTimer.h"
#include "transport/MidiPoller.h"
#include <QElapsedTimer>
#include <algorithm>

namespace transport {

namespace {

class SteadyPollClock : public PollClock {
public:
    SteadyPollClock() { timer_.start(); }
    int64_t nowUs() override { return timer_.nsecsElapsed() / 1000; }

private:
    QElapsedTimer timer_;
};

} // namespace

RingPollTimer::RingPollTimer(MidiPort& port, MessageDecoder* decoder, QObject* parent,
                             PollClock* clock)
    : QTimer(parent), port_(port), decoder_(decoder),
      steady_(clock ? nullptr : std::make_unique<SteadyPollClock>()),
      clock_(clock ? clock : steady_.get()) {
    setObjectName("TimerMIDIIn");
    setInterval(IntervalMs);
    connect(this, &QTimer::timeout, this, &RingPollTimer::pollNow);
}

RingPollTimer::~RingPollTimer() = default;

bool RingPollTimer::pollNow() {
    class Discard : public MessageDecoder {
    public:
        void DecodeMIDIIn(uint32_t) override {}
    } discard;
    const int64_t now = clock_->nowUs();
    const bool goingOn = pollRing(port_, decoder_ ? *decoder_ : discard, *clock_, PollBudgetUs);
    if (link_) {
        const int64_t passed =
            lastTickUs_ < 0 ? 0 : std::clamp<int64_t>(now - lastTickUs_, 0, MaxTickUs);
        carriedUs_ += passed;
        const int64_t ms = carriedUs_ / 1000;
        carriedUs_ -= ms * 1000;
        if (ms > 0) link_->elapse(static_cast<int>(ms));
    }
    lastTickUs_ = now;
    if (!goingOn && !(link_ && link_->inputWanted())) {
        stop();
        lastTickUs_ = -1;
        return false;
    }
    return true;
}

} // namespace transport
