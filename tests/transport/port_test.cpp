#include "PortFixture.h"
#include "transport/MidiPoller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace {

using SendTest = PortFixture;

TEST_F(SendTest, RequestsGoOutPackedLightTheLampShowInHexAndNotReadyIsTriedAgainBoundedly) {
    openOutput();
    port.ProgAddr = 130;
    port.ProgMaster = false;
    port.SendReadRequest();
    // 0xC8 to MDX 200: status 0x80 | 2 (address bit 7) | 1 (value bit 7), data 72 twice.
    port.ProgAddr = 200;
    port.ProgValue = 0xC8;
    port.ProgMaster = true;
    port.SendWriteRequest();
    port.ShowSentMsg = true;
    port.MIDIOutMsg = 0x400581;
    port.SendShortMsg();
    port.sendCommand(0xD2);
    EXPECT_EQ(fake.sent, (std::vector<uint32_t>{0x00028E, 0x484883, 0x400581, 0xD2}));
    EXPECT_EQ(events.outputLamps, 4);
    EXPECT_EQ(events.shown, (std::vector<std::string>{"810540", "D20000"}));

    // Not ready is tried again a bounded number of times.
    fake.calls = {};
    fake.sent.clear();
    fake.outShortMsgResults = {67, 67, 67, 0};
    port.MIDIOutMsg = 0xD1;
    port.SendShortMsg();
    EXPECT_EQ(fake.calls.outShortMsg, 4);
    EXPECT_EQ(fake.calls.notReadyPause, 3);
    EXPECT_EQ(fake.sent, std::vector<uint32_t>{0xD1});
    EXPECT_TRUE(notifier.warnings.empty());

    fake.outShortMsgDefault = 67; // stuck
    port.SendShortMsg();
    EXPECT_EQ(fake.calls.outShortMsg, 4 + MidiPort::NotReadyTries);
    EXPECT_EQ(port.MIDIOutResult, 67);
    ASSERT_EQ(notifier.warnings.size(), 1u);
    EXPECT_EQ(lastBox(), "Errore accesso dispositivo MIDI di uscita (Cod Err: 467)");
    EXPECT_EQ(port.MIDIErrText, lastBox());

    // Other failures are reported once and the message is lost.
    fake.outShortMsgResults = {1};
    port.SendShortMsg();
    EXPECT_EQ(fake.calls.outShortMsg, 5 + MidiPort::NotReadyTries);
    EXPECT_EQ(lastBox(), "Errore accesso dispositivo MIDI di uscita (Cod Err: 401)");
    // Without an open output there is no handle to send on.
    port.CloseMIDIOut();
    port.SendShortMsg();
    EXPECT_EQ(fake.calls.outShortMsg, 5 + MidiPort::NotReadyTries);
    EXPECT_EQ(lastBox(), "Errore accesso dispositivo MIDI di uscita (Cod Err: 405)");
    EXPECT_EQ(fake.sent.size(), 1u);
    EXPECT_EQ(notifier.warnings.size(), 3u);
}

using DeviceTest = PortFixture;

TEST_F(DeviceTest, OpenAndCloseErrorsCarryTheirLocationAndCode) {
    port.MIDIOutDevice = 5; // only two are listed: the system answers 2
    port.MIDIInDevice = 7;
    EXPECT_EQ(port.OpenMIDIOut(), 2);
    EXPECT_EQ(lastBox(), "Errore accesso dispositivo MIDI di uscita (Cod Err: 602)");
    EXPECT_EQ(port.OpenMIDIIn(), 2);
    EXPECT_EQ(lastBox(), "Errore apertura dispositivo MIDI di ingresso (Cod Err: 502)");
    // Devices in use have their own messages.
    fake.inOpenResult = fake.outOpenResult = 4;
    port.MIDIInDevice = port.MIDIOutDevice = 0;
    EXPECT_EQ(port.OpenMIDIIn(), 4);
    EXPECT_EQ(lastBox(), "Dispositivo MIDI di ingresso già in uso");
    EXPECT_EQ(port.OpenMIDIOut(), 4);
    EXPECT_EQ(lastBox(), "Dispositivo MIDI di Uscita già in uso");
    EXPECT_FALSE(port.MIDIOutOpen || port.MIDIInOpen);

    fake.inOpenResult = fake.outOpenResult = 0;
    openOutput();
    openInput();
    fake.outCloseResult = 5;
    fake.inCloseResult = 6;
    EXPECT_EQ(port.CloseMIDIOut(), 5);
    EXPECT_EQ(lastBox(), "Errore accesso dispositivo MIDI di uscita (Cod Err: 805)");
    EXPECT_EQ(port.CloseMIDIIn(), 6);
    EXPECT_EQ(lastBox(), "Errore apertura dispositivo MIDI di ingresso (Cod Err: 706)");
    EXPECT_FALSE(port.MIDIOutOpen || port.MIDIInOpen);
    // Closing devices that are not open asks nothing.
    EXPECT_EQ(port.CloseMIDIOut(), 0);
    EXPECT_EQ(port.CloseMIDIIn(), 0);
    EXPECT_EQ(fake.calls.outClose + fake.calls.inClose, 2);
    EXPECT_EQ(notifier.warnings.size(), 6u);
}

using InputTest = PortFixture;

TEST_F(InputTest, MessagesArriveOnlyWhileStartedStampedByTheClockOrTheBatteryCounter) {
    EXPECT_EQ(port.StartMIDIIn(), 5); // nothing open
    EXPECT_EQ(lastBox(), "StartMIDIIn: MMSYSERR_INVALHANDLE");
    port.ring.push(MidiInData, 0x90, 0); // stale: opening the input drops it
    openInput();
    EXPECT_TRUE(port.ring.empty());
    EXPECT_FALSE(fake.inject(0x90));
    ASSERT_EQ(port.StartMIDIIn(), 0);
    clock.TickCounter = 1234;
    ASSERT_TRUE(fake.inject(0x7F7F81));
    port.BatteryStampMode = true;
    port.BatteryStamp = 17;
    ASSERT_TRUE(fake.inject(0x000090));
    fake.inStopResult = 67; // a failed stop names its cause and changes nothing
    EXPECT_EQ(port.StopMIDIIn(), 67);
    EXPECT_TRUE(port.MIDIInStarted);
    EXPECT_EQ(events.pollerDisabled, 0);
    EXPECT_EQ(lastBox(), "StopMIDIIn: MIDIERR_NOTREADY");
    fake.inStopResult = 0;
    EXPECT_EQ(port.StopMIDIIn(), 0);
    EXPECT_FALSE(port.MIDIInStarted);
    EXPECT_EQ(events.pollerDisabled, 1);
    EXPECT_FALSE(fake.inject(0xA0));

    std::vector<std::array<uint32_t, 3>> stored; // message, parameter, stamp
    for (MidiRing::Entry e{}; port.ring.pop(e);)
        stored.push_back({e.msg, e.param, e.stamp});
    EXPECT_EQ(stored, (std::vector<std::array<uint32_t, 3>>{{MidiInData, 0x7F7F81, 1234},
                                                            {MidiInData, 0x000090, 17}}));
}

// Each decoded message costs 3 us of its clock.
struct Decoder : MessageDecoder, PollClock {
    int64_t now = 0;
    std::vector<uint32_t> seen;
    void DecodeMIDIIn(uint32_t message) override {
        seen.push_back(message);
        now += 3;
    }
    int64_t nowUs() override { return now; }
};

using PollerTest = PortFixture;

TEST_F(PollerTest, AFloodIsTakenInTimeBoundedTicksAndEveryMessageInOrder) {
    Decoder decoder;
    port.StopMIDIPoll = false;
    constexpr int kMessages = 200'000;
    int sent = 0;
    int ticks = 0;
    int64_t longest = 0;
    port.ring.push(MidiInOpen, 0, 0); // no short message in it: nothing to decode
    // The input keeps the ring as full as it can while the ticks drain it.
    while (static_cast<int>(decoder.seen.size()) < kMessages) {
        while (sent < kMessages && port.ring.unread() < MidiRing::Size - 1)
            port.ring.push(MidiInData, static_cast<uint32_t>(sent++), 0);
        const int64_t begin = decoder.now;
        EXPECT_TRUE(pollRing(port, decoder, decoder, 4000));
        longest = std::max(longest, decoder.now - begin);
        ASSERT_LT(++ticks, 1000);
    }
    // 4000 us at 3 us a message: the tick ends with the message that crosses the budget.
    EXPECT_EQ(longest, 4002);
    EXPECT_EQ(ticks, (kMessages + 1333) / 1334);
    for (int i = 0; i < kMessages; ++i)
        ASSERT_EQ(decoder.seen[static_cast<size_t>(i)], static_cast<uint32_t>(i));
    port.StopMIDIPoll = true; // empty and asked to stop: the poller ends
    EXPECT_FALSE(pollRing(port, decoder, decoder, 4000));
}

} // namespace
