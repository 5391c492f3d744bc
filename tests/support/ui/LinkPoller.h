#pragma once
#include "protocol/DecoderSinks.h"
#include "protocol/UnitLink.h"
#include "transport/ui/RingPollTimer.h"

// The main window's part in the link, for tests without a main window: the poller it runs
// (TimerMIDIIn over the decoder, telling the link the time), started when the link asks.
struct LinkPoller : MainWindowSink {
    LinkPoller(MidiPort& port, MessageDecoder& decoder, UnitLink& link)
        : timer(port, &decoder, nullptr) {
        timer.setLink(&link);
    }
    void inputActivity() override {}
    void enableInputPoller() override { timer.start(); }

    RingPollTimer timer;
};
