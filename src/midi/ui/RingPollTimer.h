#pragma once
#include <QTimer>

class MidiPort;
class MessageDecoder;

// A window's TimerMIDIIn: every 10 ms it hands every entry waiting in the input ring to the
// decoder and returns to the event loop; once StopMIDIPoll is set and the ring is empty it
// stops itself.
class RingPollTimer : public QTimer {
    Q_OBJECT
public:
    RingPollTimer(MidiPort& port, MessageDecoder* decoder, QObject* parent);
    void setDecoder(MessageDecoder* decoder) { decoder_ = decoder; }
    // One poll, as the timer does it; false once the poller has stopped itself.
    bool pollNow();

private:
    MidiPort& port_;
    MessageDecoder* decoder_;
};
