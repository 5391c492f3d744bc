#pragma once
#include <QTimer>
#include <memory>

namespace transport {

class MidiPort;
class MessageDecoder;
class PollClock;
class PollTimeUser;

// A window's TimerMIDIIn: every 10 ms it hands the entries waiting in the input ring to the
// decoder for at most PollBudgetUs and returns to the event loop, so a flood of input never
// freezes the window (what is left waits for the next tick); once StopMIDIPoll is set and
// the ring is empty it stops itself. Each tick also lets the link's time pass (its mode
// hand-shake waits about a second for the unit's answer).
class RingPollTimer : public QTimer {
    Q_OBJECT
public:
    static constexpr int IntervalMs = 10;
    static constexpr int64_t PollBudgetUs = 4000;

    // The budget and the link's time are measured on clock (none given: the steady clock).
    RingPollTimer(MidiPort& port, MessageDecoder* decoder, QObject* parent,
                  PollClock* clock = nullptr);
    ~RingPollTimer() override;
    void setDecoder(MessageDecoder* decoder) { decoder_ = decoder; }
    void setLink(PollTimeUser* link) { link_ = link; }
    // One poll, as the timer does it; false once the poller has stopped itself.
    bool pollNow();
    // At most this much of the link's time passes in one tick: a tick that comes late after
    // the poller was idle does not end a wait that has only just begun.
    static constexpr int64_t MaxTickUs = 100'000;

private:
    MidiPort& port_;
    MessageDecoder* decoder_;
    std::unique_ptr<PollClock> steady_;
    PollClock* clock_;
    PollTimeUser* link_ = nullptr;
    int64_t lastTickUs_ = -1;
    int64_t carriedUs_ = 0;
};

} // namespace transport
