#pragma once
#include "panel/PanelInput.h"
#include "transport/MidiPort.h"
#include <cstdint>

namespace panel {

// The control panel's own state and which of its controls take input.

struct PanelEnables {
    bool ComSelezMDXMSX = false;
    bool ComDatiProg = false;
    bool ComScrivi = false;
    bool WrADR = false;
    bool WrDAT = false;
    bool VScrollWr = false;
    bool RdADR = false;
    bool RdDAT = false;
    bool VScrollRd = false;
    bool CommStop = false;
    bool CommSalvaText1 = false;
    bool ClearText1 = true;
};

struct PanelState {
    // EEPROM access entered from the panel (ComEEPROM shows "EEPROM DATI/PROG EXIT").
    bool access = false;
    bool PanelMDX = true;     // target module: MDX (right), else MSX (left)
    bool PanelDataMem = true; // data EEPROM, else program memory (read only)
    int PanelWrAddr = 0;
    int PanelWrData = 0;
    int PanelRdAddr = 0;
    // The write address came from typing in WrADR: the box stays open while the user is
    // still typing, even when the number so far names a protected address.
    bool wrAddrTyped = false;
    // The monitor: CommStop reads "Stop" while it runs; stopped, the messages still in the
    // ring are not shown. ClearText1 is offered while it is stopped, or when the decoder
    // offers it.
    bool monitorRunning = false;
    bool monitorStopped = false;
    bool clearOffered = true;

    // EEPROM DATI/PROG pressed: the data memory, the monitor shown.
    void enterAccess();
    // The access ended (left, refused or not answered): the monitor button back to Start.
    void accessEnded();
    // CommStop: Start or Stop.
    void toggleMonitor();

    // Writing needs the data EEPROM and an unprotected address, whatever order the
    // address and memory were chosen in.
    PanelEnables enables() const;
    // The requests as every transfer packs them.
    uint32_t writeMessage() const {
        return transport::packWriteRequest(PanelWrAddr, PanelWrData, PanelMDX);
    }
    uint32_t readMessage() const {
        return transport::packReadRequest(PanelRdAddr, PanelMDX, !PanelDataMem);
    }
    // Label5 / Label8: "MDX" or "MSX".
    const char* moduleName() const { return PanelMDX ? "MDX" : "MSX"; }
    // ComDatiProg names the memory a press switches to.
    const char* memoryCaption() const { return PanelDataMem ? "Programma" : "Dati"; }
    const char* accessCaption() const {
        return access ? "EEPROM DATI/PROG EXIT" : "EEPROM DATI/PROG";
    }
    const char* monitorCaption() const { return monitorRunning ? "Stop" : "Start"; }
};

} // namespace panel
