#include "midi/ui/RingPollTimer.h"
#include "midi/MidiPoller.h"

RingPollTimer::RingPollTimer(MidiPort& port, MessageDecoder* decoder, QObject* parent)
    : QTimer(parent), port_(port), decoder_(decoder) {
    setObjectName("TimerMIDIIn");
    setInterval(10);
    connect(this, &QTimer::timeout, this, &RingPollTimer::pollNow);
}

bool RingPollTimer::pollNow() {
    class Discard : public MessageDecoder {
    public:
        void DecodeMIDIIn(uint32_t) override {}
    } discard;
    if (!pollRing(port_, decoder_ ? *decoder_ : discard)) {
        stop();
        return false;
    }
    return true;
}
