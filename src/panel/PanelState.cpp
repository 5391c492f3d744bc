#include "panel/PanelState.h"

namespace panel {

PanelEnables PanelState::enables() const {
    PanelEnables e;
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
