#pragma once
#include <cstdint>

namespace transport {

class MidiPort;

// Whatever takes the messages drained from the input ring (DecodeMIDIIn).
class MessageDecoder {
public:
    virtual ~MessageDecoder() = default;
    virtual void DecodeMIDIIn(uint32_t message) = 0;
    // Messages were lost to a full ring just before the next one handed over.
    virtual void inputGap() {}
};

// The clock a poll's time budget is measured on, in microseconds from any origin.
class PollClock {
public:
    virtual ~PollClock() = default;
    virtual int64_t nowUs() = 0;
};

// One run of a TimerMIDIIn handler: takes every ready entry from the port's ring (at most
// maxEntries, so the user interface gets its turn during a long burst) into RxMsg / RxParam
// / RxTime and hands RxParam to the decoder, which may set StopMIDIPoll while it runs. An
// entry with the ring's gap mark is announced to the decoder (inputGap) before it is decoded.
// Returns true while polling should go on, false once StopMIDIPoll is set and the ring is
// empty.
bool pollRing(MidiPort& port, MessageDecoder& decoder, int maxEntries = 100000);

// The same, bounded in time instead of count: it stops taking entries once budgetUs have
// passed on clock since it began (the clock is read after every entry, so a run ends at most
// one message past its budget) and returns to the caller with the rest still waiting.
bool pollRing(MidiPort& port, MessageDecoder& decoder, PollClock& clock, int64_t budgetUs);

// What lives on the poller's time besides the ring: the owner of the link waits for the
// unit's answers in poller ticks, and keeps the poller going while it wants the input.
class PollTimeUser {
public:
    virtual ~PollTimeUser() = default;
    virtual void elapse(int ms) = 0;
    virtual bool inputWanted() const = 0;
};

} // namespace transport
