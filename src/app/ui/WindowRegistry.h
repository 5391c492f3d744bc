#pragma once

class frmMain;
class QtNotifier;

// Tells the main window which child window each menu entry opens, and where notices go.
void registerWindows(frmMain& main, QtNotifier* notifier);
