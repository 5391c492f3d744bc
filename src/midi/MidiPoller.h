#pragma once
#include <cstdint>

class MidiPort;

// Whatever takes the messages drained from the input ring (DecodeMIDIIn).
class MessageDecoder {
public:
    virtual ~MessageDecoder() = default;
    virtual void DecodeMIDIIn(uint32_t message) = 0;
};

// One run of a TimerMIDIIn handler: takes every ready entry from the port's ring (at most
// maxEntries, so the user interface gets its turn during a long burst) into RxMsg / RxParam
// / RxTime and hands RxParam to the decoder, which may set StopMIDIPoll while it runs.
// Returns true while polling should go on, false once StopMIDIPoll is set and the ring is
// empty.
bool pollRing(MidiPort& port, MessageDecoder& decoder, int maxEntries = 100000);
