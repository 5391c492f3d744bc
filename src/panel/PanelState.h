#pragma once
#include "panel/PanelInput.h"
#include "panel/PanelRequests.h"
#include <cstdint>

// The control panel's own state and which of its controls take input.
namespace panel {

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

    // Writing needs the data EEPROM and an unprotected address, whatever order the
    // address and memory were chosen in.
    PanelEnables enables() const;
    uint32_t writeMessage() const { return writeRequest(PanelMDX, PanelWrAddr, PanelWrData); }
    uint32_t readMessage() const { return readRequest(PanelMDX, PanelDataMem, PanelRdAddr); }
    // Label5 / Label8: "MDX" or "MSX".
    const char* moduleName() const { return PanelMDX ? "MDX" : "MSX"; }
    // ComDatiProg names the memory a press switches to.
    const char* memoryCaption() const { return PanelDataMem ? "Programma" : "Dati"; }
};

} // namespace panel
