#include "PortFixture.h"

#include <gtest/gtest.h>

namespace {

// ---- start-up enumeration -----------------------------------------------------------------

using StartupTest = PortFixture;

TEST_F(StartupTest, MoreThanSevenDevicesListOnlyTheFirstSeven) {
    fake.outNames.clear();
    fake.inNames.clear();
    for (int i = 0; i < 9; ++i) {
        fake.outNames.push_back("Out " + std::to_string(i));
        fake.inNames.push_back("In " + std::to_string(i));
    }
    EXPECT_TRUE(port.enumerateAndOpen());
    EXPECT_EQ(port.MIDIOutCount, 7);
    EXPECT_EQ(port.MIDIInCount, 7);
    EXPECT_EQ(port.MIDIOutCaps[6].name, "Out 6");
    EXPECT_EQ(port.MIDIInCaps[6].name, "In 6");
    EXPECT_EQ(port.MIDIDevOK[6][1] + port.MIDIDevOK[6][2], 2);
    EXPECT_EQ(port.MIDIDevOK[7][1] + port.MIDIDevOK[7][2], 0);
}

TEST_F(StartupTest, RememberedDevicesAreOpenedAndChecked) {
    port.MIDIOutDevice = 1;
    port.MIDIInDevice = 0;
    EXPECT_TRUE(port.enumerateAndOpen());
    EXPECT_TRUE(port.MIDIOutOpen);
    EXPECT_TRUE(port.MIDIInOpen);
    EXPECT_EQ(port.menuState.checkedOut, 1);
    EXPECT_EQ(port.menuState.checkedIn, 0);
    EXPECT_TRUE(port.menuState.thruEnabled);
    EXPECT_FALSE(port.menuState.thruChecked);
}

TEST_F(StartupTest, UnusableRememberedDevicesAreLeftClosedWithoutAMessage) {
    fake.outCapsResult[1] = 6; // the output does not answer its query
    port.MIDIOutDevice = 1;
    port.MIDIInDevice = 5; // no longer listed
    EXPECT_TRUE(port.enumerateAndOpen());
    EXPECT_EQ(port.MIDIDevOK[1][2], 0);
    EXPECT_EQ(port.MIDIDevOK[0][2], 1);
    EXPECT_EQ(fake.calls.outOpen + fake.calls.inOpen, 0);
    EXPECT_EQ(port.menuState.checkedOut, -1);
    EXPECT_TRUE(notifier.warnings.empty());
}

TEST_F(StartupTest, MissingDirections) {
    fake.inNames.clear();
    port.MIDIOutDevice = 0;
    EXPECT_TRUE(port.enumerateAndOpen());
    EXPECT_TRUE(port.NoMIDIIn);
    EXPECT_TRUE(port.MIDIOutOpen);
    EXPECT_FALSE(port.menuState.thruEnabled);

    FakeMidiSystem none;
    MidiPort bare(none, messages, clock);
    EXPECT_FALSE(bare.enumerateAndOpen());
    EXPECT_TRUE(bare.NoMIDIOut);
    EXPECT_FALSE(bare.MIDIOutOpen);
}

// ---- device menus ---------------------------------------------------------------------------

using MenuTest = PortFixture;

TEST_F(MenuTest, ChoosingTheCheckedInputDeviceUnchecksItAndStores99) {
    openOutput();
    port.chooseInputDevice(0);
    EXPECT_EQ(port.menuState.checkedIn, 0);
    ASSERT_TRUE(port.menuState.thruEnabled);
    port.chooseInputDevice(0);
    EXPECT_EQ(port.MIDIInDevice, 99);
    EXPECT_FALSE(port.MIDIInOpen);
    EXPECT_EQ(port.menuState.checkedIn, -1);
    EXPECT_FALSE(port.menuState.thruEnabled);
}

TEST_F(MenuTest, ChoosingAnotherInputMovesTheCheckUnlessTheCloseFails) {
    port.chooseInputDevice(0);
    EXPECT_FALSE(port.menuState.thruEnabled); // no output open
    port.chooseInputDevice(1);
    EXPECT_EQ(port.MIDIInDevice, 1);
    EXPECT_EQ(port.menuState.checkedIn, 1);
    EXPECT_EQ(fake.calls.inOpen, 2);

    fake.inCloseResult = 5;
    port.chooseInputDevice(0);
    EXPECT_EQ(port.MIDIInDevice, 1);
    EXPECT_EQ(port.menuState.checkedIn, -1);
    EXPECT_EQ(fake.calls.inOpen, 2);
    EXPECT_EQ(lastBox(), "Errore apertura dispositivo MIDI di ingresso (Cod Err: 705)");
}

TEST_F(MenuTest, AFailedInputOpenDisablesThru) {
    openOutput();
    port.chooseInputDevice(0);
    fake.inOpenResult = 4;
    port.chooseInputDevice(1);
    EXPECT_EQ(port.menuState.checkedIn, -1);
    EXPECT_FALSE(port.menuState.thruEnabled);
}

TEST_F(MenuTest, OutputOpenUnchecksAndDisablesThruWithoutAnOpenInput) {
    port.menuState.thruChecked = true;
    port.chooseOutputDevice(0);
    EXPECT_EQ(port.menuState.checkedOut, 0);
    EXPECT_FALSE(port.menuState.thruChecked);
    EXPECT_FALSE(port.menuState.thruEnabled);
    port.chooseInputDevice(0);
    port.chooseOutputDevice(1);
    EXPECT_EQ(port.MIDIOutDevice, 1);
    EXPECT_EQ(port.menuState.checkedOut, 1);
    EXPECT_TRUE(port.menuState.thruEnabled);
}

TEST_F(MenuTest, AFailedOutputOpenChangesNoMenu) {
    port.chooseInputDevice(0);
    port.chooseOutputDevice(0);
    port.chooseOutputDevice(0); // unchecked, closed, 99
    port.menuState.thruChecked = true;
    const DeviceMenuState before = port.menuState;
    fake.outOpenResult = 2;
    port.chooseOutputDevice(1);
    EXPECT_FALSE(port.MIDIOutOpen);
    EXPECT_EQ(port.menuState.checkedOut, before.checkedOut);
    EXPECT_EQ(port.menuState.thruEnabled, before.thruEnabled);
    EXPECT_EQ(port.menuState.thruChecked, before.thruChecked);
}

TEST_F(MenuTest, ARememberedOutputThatFailedToOpenCanBeReplaced) {
    fake.outOpenResult = 4; // busy at start-up: chosen but not open
    port.MIDIOutDevice = 0;
    port.enumerateAndOpen();
    fake.outOpenResult = 0;
    port.chooseOutputDevice(1);
    EXPECT_TRUE(port.MIDIOutOpen);
    EXPECT_EQ(port.MIDIOutDevice, 1);
    EXPECT_EQ(port.menuState.checkedOut, 1);
    EXPECT_EQ(notifier.warnings.size(), 1u); // only the start-up "already in use"
}

TEST_F(MenuTest, ThruTogglesOnlyWhenConnectAndInputStartBothSucceed) {
    port.chooseInputDevice(0);
    port.chooseOutputDevice(0);
    fake.inStartResult = 67;
    port.toggleThru();
    EXPECT_FALSE(port.menuState.thruChecked);
    EXPECT_FALSE(port.MIDIThruOn);

    fake.inStartResult = 0;
    port.toggleThru();
    EXPECT_TRUE(port.menuState.thruChecked);
    EXPECT_TRUE(port.MIDIThruOn);
    ASSERT_TRUE(fake.inject(0x90));
    EXPECT_EQ(fake.thruForward, std::vector<uint32_t>{0x90});

    port.toggleThru();
    EXPECT_FALSE(port.MIDIThruOn);
    EXPECT_FALSE(fake.thruConnected());
    EXPECT_FALSE(fake.inputStarted());
    EXPECT_TRUE(notifier.warnings.empty());
}

// ---- closing -----------------------------------------------------------------------------------

using ShutdownTest = PortFixture;

TEST_F(ShutdownTest, StopsInputAndClosesBothDevices) {
    port.chooseInputDevice(0);
    port.chooseOutputDevice(0);
    port.StartMIDIIn();
    port.shutdown();
    EXPECT_FALSE(fake.inputStarted());
    EXPECT_FALSE(fake.inputOpen());
    EXPECT_FALSE(fake.outputOpen());
    EXPECT_FALSE(port.MIDIInOpen || port.MIDIOutOpen);
    EXPECT_TRUE(notifier.warnings.empty());
}

TEST_F(ShutdownTest, ThruIsEndedQuietlyAndRememberedAsOn) {
    port.chooseInputDevice(0);
    port.chooseOutputDevice(0);
    port.toggleThru();
    port.shutdown();
    EXPECT_FALSE(fake.thruConnected());
    EXPECT_FALSE(fake.inputStarted());
    EXPECT_FALSE(fake.inputOpen() || fake.outputOpen());
    EXPECT_TRUE(port.MIDIThruOn);
    EXPECT_TRUE(notifier.warnings.empty());
}

} // namespace
