#pragma once
#include "transport/MidiPoller.h"
#include <cstdint>

using namespace transport;

// The poller's clock in unit time: a test moves it on with the simulated unit, so the link's
// one-second waits pass as the unit's time does, however fast the test itself runs.
struct UnitTimePollClock : PollClock {
    int64_t us = 0;
    int64_t nowUs() override { return us; }
};
