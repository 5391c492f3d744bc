#pragma once
#include <QTimer>
#include <memory>

class MidiPort;
class MessageDecoder;
class PollClock;

// A window's TimerMIDIIn: every 10 ms it hands the entries waiting in the input ring to the
// decoder for at most PollBudgetUs and returns to the event loop, so a flood of input never
// freezes the window (what is left waits for the next tick); once StopMIDIPoll is set and
// the ring is empty it stops itself.
class RingPollTimer : public QTimer {
    Q_OBJECT
public:
    static constexpr int IntervalMs = 10;
    static constexpr int64_t PollBudgetUs = 4000;

    RingPollTimer(MidiPort& port, MessageDecoder* decoder, QObject* parent);
    ~RingPollTimer() override;
    void setDecoder(MessageDecoder* decoder) { decoder_ = decoder; }
    // One poll, as the timer does it; false once the poller has stopped itself.
    bool pollNow();
    // The clock the budget is measured on (the steady clock unless a test gives another).
    void setClock(PollClock* clock);

private:
    MidiPort& port_;
    MessageDecoder* decoder_;
    std::unique_ptr<PollClock> steady_;
    PollClock* clock_;
};
