#pragma once
#include "support/FakeMidiSystem.h"
#include "transport/MidiPort.h"
#include "unit/SimulatedUnit.h"
#include <algorithm>
#include <cstdint>
#include <string>

using namespace unit;

// The fake MIDI system wired to a simulated unit: every message the port sends reaches the
// unit at once; pump() lets unit time pass and hands the unit's messages to the started
// input, as a device would (a stopped input loses them). Nothing runs by itself.
class SimulatedUnitLink : public FakeMidiSystem {
public:
    SimulatedUnit unit;

    // The unit is listed as device 0 in both directions.
    explicit SimulatedUnitLink(const std::string& name = "Unit") {
        inNames = {name};
        outNames = {name};
    }

    int outShortMsg(uint32_t handle, uint32_t msg) override {
        const int result = FakeMidiSystem::outShortMsg(handle, msg);
        if (result == transport::MidiOk) unit.receive(msg);
        return result;
    }
    void pump(uint64_t us) {
        unit.advance(us);
        for (const uint32_t msg : unit.takeOutput())
            inject(msg);
    }
    // Opens the unit both ways on port.
    void connect(MidiPort& port) {
        port.MIDIInDevice = 0;
        port.MIDIOutDevice = 0;
        port.OpenMIDIIn();
        port.OpenMIDIOut();
    }
    int sentCount(uint32_t msg) const {
        return static_cast<int>(std::count(sent.begin(), sent.end(), msg));
    }
};
