#pragma once
#include "base/ShowMsg.h"
#include "timing/PrecisionClock.h"
#include "transport/MidiRing.h"
#include "transport/MidiSystem.h"
#include <array>
#include <atomic>
#include <cstdint>
#include <string>

namespace transport {

// What the port tells the windows (all on the user-interface thread).
class MidiPortEvents {
public:
    virtual ~MidiPortEvents() = default;
    // A message was sent: paint the output lamp red for 300 ms.
    virtual void outputActivity() {}
    // ShowSentMsg is set: show the sent message (six hex digits) on the control panel.
    virtual void showSentMessage(const std::string& /*hex*/) {}
    // Input was stopped: the main window's TimerMIDIIn poller is disabled.
    virtual void inputPollerDisabled() {}
};

// What the device menus show after a choice.
struct DeviceMenuState {
    int checkedIn = -1;  // checked entry of mnuDevMIDIIn, -1 none
    int checkedOut = -1; // checked entry of mnuDevMIDIOut, -1 none
    bool thruEnabled = false;
    bool thruChecked = false;
};

// The MIDI port layer: the chosen devices, sending, the input ring and MIDI thru. Device
// errors are reported through ShowMsg with their location digit and result code.
class MidiPort {
public:
    static constexpr int MaxDevices = 7;
    static constexpr int NoDevice = 99;
    // A driver that stays "not ready" is given up after this many tries (about 1 s).
    static constexpr int NotReadyTries = 1000;

    MidiPort(MidiSystem& system, base::MessageService& messages, timing::PrecisionClock& clock)
        : system_(system), messages_(messages), clock_(clock) {}
    ~MidiPort();
    MidiPort(const MidiPort&) = delete;
    MidiPort& operator=(const MidiPort&) = delete;
    void setEvents(MidiPortEvents* events) { events_ = events; }

    // Device state
    int MIDIOutDevice = NoDevice;
    int MIDIInDevice = NoDevice;
    uint32_t MIDIOutHandle = 0;
    uint32_t MIDIInHandle = 0;
    bool MIDIOutOpen = false;
    bool MIDIInOpen = false;
    bool MIDIInStarted = false;
    bool NoMIDIOut = false;
    bool NoMIDIIn = false;
    int MIDIOutCount = 0;
    int MIDIInCount = 0;
    std::array<MidiCaps, 8> MIDIOutCaps{};
    std::array<MidiCaps, 8> MIDIInCaps{};
    // MIDIDevOK[i][1]: input device i answered its capability query; [i][2]: output.
    std::array<std::array<int, 3>, 8> MIDIDevOK{};
    uint32_t MIDIOutMsg = 0;
    int MIDIOutResult = 0;
    std::string MIDIErrText;
    bool MIDIThruOn = false;
    bool ShowSentMsg = false;
    // The output device disappeared (deviceLost): sends are dropped without an error box
    // until an output device is opened again.
    bool OutputLost = false;
    // The input device disappeared (deviceLost): starting or stopping it says nothing until
    // an input device is opened again.
    bool InputLost = false;

    // Input side
    MidiRing ring;
    std::atomic<bool> BatteryStampMode{false};
    std::atomic<uint32_t> BatteryStamp{0};
    bool MIDIInDecode = false; // decoder on
    bool StopMIDIPoll = true;  // the poller returns once the ring is empty

    // Transfer variables of the curve and coil transfers and the control panel
    int ProgAddr = 0;
    int ProgValue = 0;
    bool ProgMaster = true; // true: MDX

    // Start-up: count and query the devices (at most 7 per direction) and open the
    // remembered ones. Returns false when the system has no output device at all.
    bool enumerateAndOpen();
    // Counts and queries the devices again (a port was added), opening nothing. False when
    // there is no output device.
    bool refreshDeviceLists();

    void SendShortMsg();
    void SendReadRequest();
    void SendWriteRequest();
    // Sends a bare command status byte (data 0), e.g. 0xD2.
    void sendCommand(uint8_t status);
    int OpenMIDIIn();
    int OpenMIDIOut();
    int CloseMIDIIn();
    int CloseMIDIOut();
    int StartMIDIIn();
    int StopMIDIIn();
    int MIDIThruAttivazione();
    int MIDIThruDisattivazione();
    int ThruStartIn();
    int ThruStopIn();
    // The input callback: stores one entry in the ring, nothing else.
    static void MIDIInProc(void* self, uint32_t msg, uint32_t param1);

    // Device menus
    DeviceMenuState menuState;
    void chooseInputDevice(int k);
    void chooseOutputDevice(int k);
    void toggleThru();

    // A device that hung up or disappeared: the chosen output and/or input is closed
    // without error boxes (the caller tells the user once), unchecked in its menu, and thru
    // ends with it.
    void deviceLost(bool output, bool input);

    // Closing: stop input, close both devices, end thru.
    void shutdown();

    MidiSystem& system() { return system_; }

private:
    void reportDeviceError(int textId, int location, int result);
    MidiSystem& system_;
    base::MessageService& messages_;
    timing::PrecisionClock& clock_;
    MidiPortEvents* events_ = nullptr;
};

// Packing of PC-to-unit requests (status bit 1 carries bit 7 of data1, bit 0 of data2).
// Reads: 0x88 MDX, 0x8C MSX, 0x10 more for the program memory; writes: 0x80 MDX, 0x84 MSX.
uint32_t packReadRequest(int address, bool master, bool programMemory = false);
uint32_t packWriteRequest(int address, int value, bool master);
// Six hex digits: status, data1, data2 ("00" for 0, leading zero below 16).
std::string hexMessage(uint32_t msg);

} // namespace transport
