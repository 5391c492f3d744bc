#include "midi/MidiPoller.h"
#include "midi/MidiPort.h"

bool pollRing(MidiPort& port, MessageDecoder& decoder, int maxEntries) {
    MidiRing::Entry entry{};
    for (int taken = 0; taken < maxEntries; ++taken) {
        if (!port.ring.pop(entry)) {
            // Empty: the loop ends only when someone has asked it to.
            return !port.StopMIDIPoll;
        }
        const uint32_t RxMsg = entry.msg;
        const uint32_t RxParam = entry.param;
        [[maybe_unused]] const uint32_t RxTime = entry.stamp;
        // Open, close and long-data events carry no short message to decode.
        if (RxMsg == mim::Data) decoder.DecodeMIDIIn(RxParam);
    }
    // The batch limit was reached: more may be waiting, come back on the next tick.
    return true;
}
