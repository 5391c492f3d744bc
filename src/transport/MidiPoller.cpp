#include "transport/MidiPoller.h"
#include "transport/MidiPort.h"

namespace transport {

namespace {

// Takes one entry to the decoder. False when the ring is empty.
bool takeOne(MidiPort& port, MessageDecoder& decoder) {
    MidiRing::Entry entry{};
    if (!port.ring.pop(entry)) return false;
    const uint32_t RxMsg = entry.msg;
    const uint32_t RxParam = entry.param;
    [[maybe_unused]] const uint32_t RxTime = entry.stamp;
    if (entry.gap) decoder.inputGap();
    // Open, close and long-data events carry no short message to decode.
    if (RxMsg == MidiInData) decoder.DecodeMIDIIn(RxParam);
    return true;
}

} // namespace

bool pollRing(MidiPort& port, MessageDecoder& decoder, int maxEntries) {
    for (int taken = 0; taken < maxEntries; ++taken) {
        // Empty: the loop ends only when someone has asked it to.
        if (!takeOne(port, decoder)) return !port.StopMIDIPoll;
    }
    // The batch limit was reached: more may be waiting, come back on the next tick.
    return true;
}

bool pollRing(MidiPort& port, MessageDecoder& decoder, PollClock& clock, int64_t budgetUs) {
    const int64_t start = clock.nowUs();
    for (;;) {
        if (!takeOne(port, decoder)) return !port.StopMIDIPoll;
        // The budget is spent: the window's events go first, the rest waits for the next tick.
        if (clock.nowUs() - start >= budgetUs) return true;
    }
}

} // namespace transport
