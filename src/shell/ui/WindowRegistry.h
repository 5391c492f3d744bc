#pragma once

namespace base {
class QtNotifier;
} // namespace base
namespace unit {
class SimulatedUnitSystem;
} // namespace unit

namespace shell {

class frmMain;

// Tells the main window which child window each menu entry opens, and where notices go.
void registerWindows(frmMain& main, base::QtNotifier* notifier,
                     unit::SimulatedUnitSystem* simulated = nullptr);

} // namespace shell
