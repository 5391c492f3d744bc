#include "midi/ui/RingPollTimer.h"
#include "midi/MidiPoller.h"
#include <QElapsedTimer>

namespace {

class SteadyPollClock : public PollClock {
public:
    SteadyPollClock() { timer_.start(); }
    int64_t nowUs() override { return timer_.nsecsElapsed() / 1000; }

private:
    QElapsedTimer timer_;
};

} // namespace

RingPollTimer::RingPollTimer(MidiPort& port, MessageDecoder* decoder, QObject* parent)
    : QTimer(parent), port_(port), decoder_(decoder), steady_(std::make_unique<SteadyPollClock>()),
      clock_(steady_.get()) {
    setObjectName("TimerMIDIIn");
    setInterval(IntervalMs);
    connect(this, &QTimer::timeout, this, &RingPollTimer::pollNow);
}

RingPollTimer::~RingPollTimer() = default;

void RingPollTimer::setClock(PollClock* clock) {
    clock_ = clock ? clock : steady_.get();
}

bool RingPollTimer::pollNow() {
    class Discard : public MessageDecoder {
    public:
        void DecodeMIDIIn(uint32_t) override {}
    } discard;
    if (!pollRing(port_, decoder_ ? *decoder_ : discard, *clock_, PollBudgetUs)) {
        stop();
        return false;
    }
    return true;
}
