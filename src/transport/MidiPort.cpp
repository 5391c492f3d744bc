#include "transport/MidiPort.h"

#include <algorithm>
#include <cstdio>

using namespace base;

namespace transport {

namespace {
constexpr int kTextOutputAccess = 130; // "Errore accesso dispositivo MIDI di uscita"
constexpr int kTextInputOpen = 19;     // "Errore apertura dispositivo MIDI di ingresso"
constexpr int kMsgInsertOnly = 1;
constexpr int kMsgOutputInUse = 20;
constexpr int kMsgInputInUse = 38;

// Where a composed device error comes from (its first digit after "Cod Err: ").
constexpr int kWhereSend = 4;
constexpr int kWhereOpenIn = 5;
constexpr int kWhereOpenOut = 6;
constexpr int kWhereCloseIn = 7;
constexpr int kWhereCloseOut = 8;

std::string twoDigits(int code) {
    std::string s = std::to_string(code);
    if (code >= 0 && code < 10) s.insert(s.begin(), '0');
    return s;
}

bool listed(int device, int count) {
    return device >= 0 && device < count;
}
} // namespace

uint32_t packReadRequest(int address, bool master, bool programMemory) {
    int v = address & 0xFF;
    uint32_t status = master ? 0x88 : 0x8C;
    if (programMemory) status |= 0x10;
    if (v > 127) {
        status |= 0x02;
        v -= 128;
    }
    return status + static_cast<uint32_t>(v) * 256;
}

uint32_t packWriteRequest(int address, int value, bool master) {
    int a = address & 0xFF;
    int b = value & 0xFF;
    uint32_t status = master ? 0x80 : 0x84;
    if (a > 127) {
        status |= 0x02;
        a -= 128;
    }
    if (b > 127) {
        status |= 0x01;
        b -= 128;
    }
    return status | static_cast<uint32_t>(a) << 8 | static_cast<uint32_t>(b) << 16;
}

std::string hexMessage(uint32_t msg) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X%02X%02X", static_cast<unsigned>(msg & 0xFF),
                  static_cast<unsigned>(msg >> 8 & 0xFF), static_cast<unsigned>(msg >> 16 & 0xFF));
    return buf;
}

void MidiPort::reportDeviceError(int textId, int location, int result) {
    MIDIErrText = messages_.texts().text(textId) + " (Cod Err:" + " " + std::to_string(location) +
                  twoDigits(result) + ")";
    messages_.ShowMsg(kMsgInsertOnly, kAppTitle, MIDIErrText);
}

// ---- start-up -------------------------------------------------------------------------

bool MidiPort::refreshDeviceLists() {
    NoMIDIOut = false;
    MIDIOutCount = std::clamp(system_.outCount(), 0, MaxDevices);
    if (MIDIOutCount == 0) {
        NoMIDIOut = true;
        return false;
    }
    for (int i = 0; i < MIDIOutCount; ++i)
        MIDIDevOK[i][2] = system_.outCaps(i, MIDIOutCaps[i]) == MidiOk ? 1 : 0;

    MIDIInCount = std::clamp(system_.inCount(), 0, MaxDevices);
    NoMIDIIn = MIDIInCount == 0;
    for (int i = 0; i < MIDIInCount; ++i)
        MIDIDevOK[i][1] = system_.inCaps(i, MIDIInCaps[i]) == MidiOk ? 1 : 0;
    return true;
}

bool MidiPort::enumerateAndOpen() {
    MIDIOutOpen = false;
    if (!refreshDeviceLists()) {
        menuState = DeviceMenuState{};
        return false;
    }
    if (NoMIDIIn) MIDIInOpen = false;

    // A remembered device that is no longer listed, or did not answer, is not opened.
    const bool outUsable = listed(MIDIOutDevice, MIDIOutCount) && MIDIDevOK[MIDIOutDevice][2];
    const bool inUsable = listed(MIDIInDevice, MIDIInCount) && MIDIDevOK[MIDIInDevice][1];
    if (outUsable) OpenMIDIOut();
    if (inUsable) OpenMIDIIn();

    // The menus show the remembered devices checked; thru starts unchecked.
    menuState = DeviceMenuState{};
    menuState.checkedOut = outUsable ? MIDIOutDevice : -1;
    menuState.checkedIn = inUsable ? MIDIInDevice : -1;
    menuState.thruEnabled = MIDIInOpen && MIDIOutOpen;
    return true;
}

// ---- sending --------------------------------------------------------------------------

void MidiPort::SendShortMsg() {
    if (OutputLost && !MIDIOutOpen) {
        MIDIOutResult = MidiNoDriver;
        return;
    }
    if (ShowSentMsg && events_) events_->showSentMessage(hexMessage(MIDIOutMsg));
    if (events_) events_->outputActivity();

    int result = MidiInvalidHandle;
    if (MIDIOutOpen) {
        // A driver answering "not ready" is asked again after a short pause, but not forever.
        result = system_.outShortMsg(MIDIOutHandle, MIDIOutMsg);
        for (int tries = 1; result == MidiNotReady && tries < NotReadyTries; ++tries) {
            system_.notReadyPause();
            result = system_.outShortMsg(MIDIOutHandle, MIDIOutMsg);
        }
    }
    MIDIOutResult = result;
    // A device that is gone is reported once, by whoever closes it (deviceLost).
    if (result != MidiOk && result != MidiNoDriver)
        reportDeviceError(kTextOutputAccess, kWhereSend, result);
}

void MidiPort::SendReadRequest() {
    MIDIOutMsg = packReadRequest(ProgAddr, ProgMaster);
    SendShortMsg();
}

void MidiPort::SendWriteRequest() {
    MIDIOutMsg = packWriteRequest(ProgAddr, ProgValue, ProgMaster);
    SendShortMsg();
}

void MidiPort::sendCommand(uint8_t status) {
    MIDIOutMsg = status;
    SendShortMsg();
}

// ---- opening and closing ----------------------------------------------------------------

int MidiPort::OpenMIDIIn() {
    const int result = system_.inOpen(MIDIInDevice, MIDIInHandle, &MidiPort::MIDIInProc, this);
    MIDIInOpen = result == MidiOk;
    if (MIDIInOpen) InputLost = false;
    if (result == MidiAllocated)
        messages_.ShowMsg(kMsgInputInUse, kAppTitle, "");
    else if (result != MidiOk)
        reportDeviceError(kTextInputOpen, kWhereOpenIn, result);
    // Whatever the input delivered before belongs to no one now.
    ring.discard();
    return result;
}

int MidiPort::OpenMIDIOut() {
    const int result = system_.outOpen(MIDIOutDevice, MIDIOutHandle);
    MIDIOutOpen = result == MidiOk;
    if (MIDIOutOpen) OutputLost = false;
    if (result == MidiAllocated)
        messages_.ShowMsg(kMsgOutputInUse, kAppTitle, "");
    else if (result != MidiOk)
        reportDeviceError(kTextOutputAccess, kWhereOpenOut, result);
    return result;
}

int MidiPort::CloseMIDIIn() {
    if (!MIDIInOpen) return MidiOk;
    const int result = system_.inClose(MIDIInHandle);
    MIDIInOpen = false;
    MIDIInStarted = false;
    if (result != MidiOk) reportDeviceError(kTextInputOpen, kWhereCloseIn, result);
    return result;
}

int MidiPort::CloseMIDIOut() {
    // A device that is not open has nothing to close; asking the system with a stale handle
    // would fail and keep the device menus from ever choosing another device.
    if (!MIDIOutOpen) return MidiOk;
    const int result = system_.outClose(MIDIOutHandle);
    MIDIOutOpen = false;
    if (result != MidiOk) reportDeviceError(kTextOutputAccess, kWhereCloseOut, result);
    return result;
}

// ---- input and thru ---------------------------------------------------------------------

int MidiPort::StartMIDIIn() {
    // A device that is gone was reported once, when it went.
    if (InputLost && !MIDIInOpen) return MidiNoDriver;
    const int result = MIDIInOpen ? system_.inStart(MIDIInHandle) : MidiInvalidHandle;
    if (result == MidiOk) {
        MIDIInStarted = true;
    } else if (result == MidiInvalidHandle) {
        MIDIInStarted = false;
        messages_.ShowMsg(kMsgInsertOnly, kAppTitle, "StartMIDIIn: MMSYSERR_INVALHANDLE");
    } else if (result == MidiNotReady) {
        MIDIInStarted = false;
        messages_.ShowMsg(kMsgInsertOnly, kAppTitle, "StartMIDIIn: MIDIERR_NOTREADY");
    }
    return result;
}

int MidiPort::StopMIDIIn() {
    if (InputLost && !MIDIInOpen) {
        MIDIInStarted = false;
        return MidiNoDriver;
    }
    const int result = MIDIInOpen ? system_.inStop(MIDIInHandle) : MidiInvalidHandle;
    if (result == MidiOk) {
        if (events_) events_->inputPollerDisabled();
        MIDIInStarted = false;
    } else if (result == MidiInvalidHandle) {
        messages_.ShowMsg(kMsgInsertOnly, kAppTitle, "StopMIDIIn: MMSYSERR_INVALHANDLE");
    } else if (result == MidiNotReady) {
        messages_.ShowMsg(kMsgInsertOnly, kAppTitle, "StopMIDIIn: MIDIERR_NOTREADY");
    }
    return result;
}

int MidiPort::MIDIThruAttivazione() {
    const int result = MIDIInOpen && MIDIOutOpen ? system_.connect(MIDIInHandle, MIDIOutHandle)
                                                 : MidiInvalidHandle;
    if (result == MidiInvalidHandle)
        messages_.ShowMsg(kMsgInsertOnly, kAppTitle, "MIDIThruAttivazione: MMSYSERR_INVALHANDLE");
    return result;
}

int MidiPort::MIDIThruDisattivazione() {
    const int result = MIDIInOpen && MIDIOutOpen ? system_.disconnect(MIDIInHandle, MIDIOutHandle)
                                                 : MidiInvalidHandle;
    if (result == MidiInvalidHandle)
        messages_.ShowMsg(kMsgInsertOnly, kAppTitle,
                          "MIDIThruDisattivazione: MMSYSERR_INVALHANDLE");
    return result;
}

int MidiPort::ThruStartIn() {
    return MIDIInOpen ? system_.inStart(MIDIInHandle) : MidiInvalidHandle;
}

int MidiPort::ThruStopIn() {
    return MIDIInOpen ? system_.inStop(MIDIInHandle) : MidiInvalidHandle;
}

void MidiPort::MIDIInProc(void* self, uint32_t msg, uint32_t param1) {
    auto* port = static_cast<MidiPort*>(self);
    const uint32_t stamp =
        port->BatteryStampMode.load(std::memory_order_relaxed)
            ? port->BatteryStamp.load(std::memory_order_relaxed)
            : static_cast<uint32_t>(port->clock_.TickCounter.load(std::memory_order_relaxed));
    port->ring.push(msg, param1, stamp);
}

// ---- device menus -----------------------------------------------------------------------

void MidiPort::chooseInputDevice(int k) {
    if (MIDIInDevice == NoDevice) MIDIInDevice = k;
    if (k != MIDIInDevice) {
        menuState.checkedIn = -1;
        if (CloseMIDIIn() != MidiOk) return;
        MIDIInDevice = k;
    } else if (menuState.checkedIn == k) {
        menuState.checkedIn = -1;
        CloseMIDIIn();
        MIDIInDevice = NoDevice;
        menuState.thruEnabled = false;
        return;
    }
    if (OpenMIDIIn() == MidiOk) {
        menuState.checkedIn = k;
        if (MIDIOutOpen) menuState.thruEnabled = true;
    } else {
        menuState.thruEnabled = false;
    }
}

void MidiPort::chooseOutputDevice(int k) {
    if (MIDIOutDevice == NoDevice) MIDIOutDevice = k;
    if (k != MIDIOutDevice) {
        menuState.checkedOut = -1;
        if (CloseMIDIOut() != MidiOk) return;
        MIDIOutDevice = k;
    } else if (menuState.checkedOut == k) {
        menuState.checkedOut = -1;
        CloseMIDIOut();
        MIDIOutDevice = NoDevice;
        menuState.thruEnabled = false;
        return;
    }
    if (OpenMIDIOut() != MidiOk) return;
    menuState.checkedOut = k;
    if (MIDIInOpen) {
        menuState.thruEnabled = true;
    } else {
        menuState.thruChecked = false;
        menuState.thruEnabled = false;
    }
}

void MidiPort::toggleThru() {
    if (menuState.thruChecked) {
        if (MIDIThruDisattivazione() == MidiOk && ThruStopIn() == MidiOk)
            menuState.thruChecked = false;
    } else {
        if (MIDIThruAttivazione() == MidiOk && ThruStartIn() == MidiOk)
            menuState.thruChecked = true;
    }
    MIDIThruOn = menuState.thruChecked;
}

// ---- closing ------------------------------------------------------------------------------

MidiPort::~MidiPort() {
    // The input callback holds a pointer to this port: the device is closed, quietly, before
    // the port goes away, so no callback can arrive afterwards.
    if (MIDIInOpen) {
        system_.inStop(MIDIInHandle);
        system_.inClose(MIDIInHandle);
    }
    if (MIDIOutOpen) system_.outClose(MIDIOutHandle);
}

void MidiPort::deviceLost(bool output, bool input) {
    output = output && MIDIOutOpen;
    input = input && MIDIInOpen;
    if (!output && !input) return;
    if (MIDIThruOn && MIDIInOpen && MIDIOutOpen) system_.disconnect(MIDIInHandle, MIDIOutHandle);
    MIDIThruOn = false;
    menuState.thruChecked = false;
    if (input) {
        if (MIDIInStarted) {
            system_.inStop(MIDIInHandle);
            if (events_) events_->inputPollerDisabled();
        }
        system_.inClose(MIDIInHandle);
        MIDIInOpen = false;
        MIDIInStarted = false;
        MIDIInDevice = NoDevice;
        menuState.checkedIn = -1;
        InputLost = true;
    }
    if (output) {
        system_.outClose(MIDIOutHandle);
        MIDIOutOpen = false;
        MIDIOutDevice = NoDevice;
        menuState.checkedOut = -1;
        OutputLost = true;
    }
    menuState.thruEnabled = MIDIInOpen && MIDIOutOpen;
}

void MidiPort::shutdown() {
    // Thru is ended while both devices are still open, so the disconnect can succeed.
    // MIDIThruOn keeps its value: the settings file records that thru was on at exit.
    if (MIDIThruOn && MIDIInOpen && MIDIOutOpen) {
        MIDIThruDisattivazione();
        if (!MIDIInStarted) ThruStopIn();
    }
    if (MIDIInStarted) StopMIDIIn();
    if (MIDIOutOpen) CloseMIDIOut();
    if (MIDIInOpen) CloseMIDIIn();
}

} // namespace transport
