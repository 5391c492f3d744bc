#pragma once
#include "base/ShowMsg.h"
#include "base/Texts.h"
#include "support/FakeMidiSystem.h"
#include "support/RecordingNotifier.h"
#include "timing/PrecisionClock.h"
#include "transport/MidiPort.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace timing;

// What the port told the windows.
struct RecordingPortEvents : MidiPortEvents {
    int outputLamps = 0;
    int pollerDisabled = 0;
    std::vector<std::string> shown;
    void outputActivity() override { ++outputLamps; }
    void showSentMessage(const std::string& hex) override { shown.push_back(hex); }
    void inputPollerDisabled() override { ++pollerDisabled; }
};

// A port over a fake system with two devices in each direction.
template <class System> class PortFixtureOver : public ::testing::Test {
protected:
    PortFixtureOver() {
        fake.outNames = {"Unit Out", "Synth Out"};
        fake.inNames = {"Unit In", "Keys In"};
        port.setEvents(&events);
    }
    std::string lastBox() const {
        return notifier.warnings.empty() ? std::string() : notifier.warnings.back().text;
    }
    void openOutput() {
        port.MIDIOutDevice = 0;
        ASSERT_EQ(port.OpenMIDIOut(), 0);
    }
    void openInput() {
        port.MIDIInDevice = 0;
        ASSERT_EQ(port.OpenMIDIIn(), 0);
    }

    Texts texts;
    RecordingNotifier notifier;
    MessageService messages{texts, notifier};
    PrecisionClock clock;
    System fake;
    RecordingPortEvents events;
    MidiPort port{fake, messages, clock};
};
using PortFixture = PortFixtureOver<FakeMidiSystem>;
