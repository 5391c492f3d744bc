#include "PortFixture.h"

#include <gtest/gtest.h>

namespace {

using StartupTest = PortFixture;

TEST_F(StartupTest, OnlyUsableRememberedDevicesAreOpenedAndChecked) {
    port.MIDIOutDevice = 1;
    port.MIDIInDevice = 0;
    EXPECT_TRUE(port.enumerateAndOpen());
    EXPECT_EQ(port.MIDIDevOK[1][2] + port.MIDIDevOK[0][1], 2); // both answered their query
    EXPECT_TRUE(port.MIDIOutOpen && port.MIDIInOpen);

    // An input no longer listed stays closed, and thru is not offered with the output alone.
    port.shutdown();
    fake.inNames.clear();
    port.MIDIInDevice = 5;
    EXPECT_TRUE(port.enumerateAndOpen());
    EXPECT_TRUE(port.NoMIDIIn && port.MIDIOutOpen);
    EXPECT_FALSE(port.menuState.thruEnabled);

    // An output that does not answer its query stays closed.
    port.shutdown();
    fake.outCapsResult[1] = 6;
    EXPECT_TRUE(port.enumerateAndOpen());
    EXPECT_EQ(port.MIDIDevOK[1][2], 0);
    EXPECT_EQ(fake.calls.outOpen + fake.calls.inOpen, 3); // nothing opened this time
    EXPECT_EQ(port.menuState.checkedOut, -1);
    EXPECT_TRUE(notifier.warnings.empty());

    FakeMidiSystem none; // no output at all
    MidiPort bare(none, messages, clock);
    EXPECT_FALSE(bare.enumerateAndOpen());
    EXPECT_TRUE(bare.NoMIDIOut);
}

using MenuTest = PortFixture;

TEST_F(MenuTest, ChoosingAnotherInputMovesTheCheckUnlessCloseOrOpenFails) {
    port.chooseInputDevice(0);
    port.chooseInputDevice(1);
    fake.inCloseResult = 5;
    port.chooseInputDevice(0);
    EXPECT_EQ(port.MIDIInDevice, 1);
    EXPECT_EQ(port.menuState.checkedIn, -1);
    EXPECT_EQ(fake.calls.inOpen, 2);
    EXPECT_EQ(lastBox(), "Errore apertura dispositivo MIDI di ingresso (Cod Err: 705)");

    fake.inCloseResult = 0;
    openOutput();
    fake.inOpenResult = 4;
    port.chooseInputDevice(0);
    EXPECT_EQ(port.menuState.checkedIn, -1);
    EXPECT_FALSE(port.menuState.thruEnabled);
}

TEST_F(MenuTest, ChoosingAnOutput) {
    port.menuState.thruChecked = true; // without an open input thru is unchecked, disabled
    port.chooseOutputDevice(0);
    EXPECT_EQ(port.menuState.checkedOut, 0);
    EXPECT_FALSE(port.menuState.thruChecked || port.menuState.thruEnabled);

    port.chooseInputDevice(0);
    port.chooseOutputDevice(0); // unchecked, closed, 99
    port.menuState.thruChecked = true;
    fake.outOpenResult = 2; // a failed open changes no menu
    port.chooseOutputDevice(1);
    EXPECT_FALSE(port.MIDIOutOpen);
    EXPECT_EQ(port.menuState.checkedOut, -1);
    EXPECT_TRUE(port.menuState.thruChecked && !port.menuState.thruEnabled);

    // Chosen but not open (busy at start-up): another output replaces it.
    port.shutdown();
    fake.outOpenResult = 4;
    port.MIDIOutDevice = 0;
    port.enumerateAndOpen();
    fake.outOpenResult = 0;
    port.chooseOutputDevice(1);
    EXPECT_TRUE(port.MIDIOutOpen);
    EXPECT_EQ(port.MIDIOutDevice, 1);
    EXPECT_EQ(port.menuState.checkedOut, 1);
    EXPECT_EQ(notifier.warnings.size(), 2u); // the failed open and the start-up "already in use"
}

TEST_F(MenuTest, ThruTogglesOnlyWhenConnectAndInputStartBothSucceedAndEndsAtShutdown) {
    port.chooseInputDevice(0);
    EXPECT_FALSE(port.menuState.thruEnabled); // an input alone
    port.chooseOutputDevice(0);
    EXPECT_TRUE(port.menuState.thruEnabled);
    fake.inStartResult = 67;
    port.toggleThru();
    EXPECT_FALSE(port.menuState.thruChecked || port.MIDIThruOn);

    fake.inStartResult = 0;
    port.toggleThru();
    EXPECT_TRUE(port.menuState.thruChecked && port.MIDIThruOn && fake.thruConnected());
    port.toggleThru();
    EXPECT_FALSE(port.MIDIThruOn || fake.thruConnected() || fake.inputStarted());

    // Shutdown stops what thru started, closes both quietly and remembers thru as on.
    port.toggleThru();
    port.shutdown();
    EXPECT_EQ(fake.calls.inStop, 2);
    EXPECT_FALSE(fake.thruConnected() || fake.inputStarted() || fake.inputOpen());
    EXPECT_FALSE(port.MIDIInOpen || port.MIDIOutOpen);
    EXPECT_TRUE(port.MIDIThruOn);
    EXPECT_TRUE(notifier.warnings.empty());
}

TEST_F(MenuTest, ALostDeviceClosesQuietlyUnchecksAndLaterSendsAreDropped) {
    port.chooseInputDevice(0);
    port.chooseOutputDevice(0);
    port.toggleThru();
    port.StartMIDIIn();
    port.deviceLost(true, true); // the frame's serial tests see it closed and unchecked
    EXPECT_EQ(port.menuState.checkedIn, -1);
    EXPECT_FALSE(port.menuState.thruChecked || port.menuState.thruEnabled || port.MIDIThruOn);
    EXPECT_EQ(port.MIDIOutDevice, 99);
    EXPECT_EQ(events.pollerDisabled, 1);
    const int sends = fake.calls.outShortMsg;
    port.sendCommand(0xD2);
    EXPECT_EQ(fake.calls.outShortMsg, sends);
    EXPECT_TRUE(notifier.warnings.empty());
    // A device chosen again takes the sends once more.
    port.chooseOutputDevice(1);
    port.sendCommand(0xD2);
    EXPECT_EQ(fake.sent.back(), 0xD2u);
    // With the input back thru is offered; losing either device withdraws it.
    port.chooseInputDevice(0);
    EXPECT_TRUE(port.menuState.thruEnabled);
    port.deviceLost(true, false);
    EXPECT_FALSE(port.menuState.thruEnabled);
}

} // namespace
