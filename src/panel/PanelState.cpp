#include "panel/PanelState.h"

namespace panel {

void PanelState::enterAccess() {
    access = true;
    PanelDataMem = true;
    wrAddrTyped = false;
    monitorStopped = false;
}

void PanelState::accessEnded() {
    access = false;
    monitorRunning = false;
}

void PanelState::toggleMonitor() {
    monitorRunning = !monitorRunning;
    monitorStopped = !monitorRunning;
    clearOffered = !monitorRunning;
}

PanelEnables PanelState::enables() const {
    PanelEnables e;
    e.ClearText1 = clearOffered;
    if (!access) return e;
    const bool guarded = isProtectedAddress(PanelWrAddr);
    e.ComSelezMDXMSX = true;
    e.ComDatiProg = true;
    e.ComScrivi = !guarded && PanelDataMem;
    e.WrADR = !guarded || wrAddrTyped;
    e.WrDAT = !guarded;
    e.VScrollWr = true;
    e.RdADR = true;
    e.RdDAT = true;
    e.VScrollRd = true;
    e.CommStop = true;
    e.CommSalvaText1 = true;
    return e;
}

} // namespace panel
