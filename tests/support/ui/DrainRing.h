#pragma once
#include "transport/MidiPort.h"
#include "transport/ui/RingPollTimer.h"

using namespace transport;

// Polls until the input ring is empty, as the poller's ticks do one after the other: a single
// poll ends at its time budget, which a loaded machine (or a sanitized build) can reach
// before the ring is drained. False once the poller has stopped itself.
inline bool drainRing(RingPollTimer* poller, const MidiPort& port) {
    bool goingOn = true;
    do {
        goingOn = poller->pollNow();
    } while (goingOn && !port.ring.empty());
    return goingOn;
}
