#pragma once

class frmMain;
class QtNotifier;
class SimulatedUnitSystem;

// Tells the main window which child window each menu entry opens, and where notices go.
void registerWindows(frmMain& main, QtNotifier* notifier, SimulatedUnitSystem* simulated = nullptr);
