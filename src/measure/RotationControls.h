#pragma once

namespace measure {

// What the rotation window shows and which of its controls take input, from the window's
// situation. The window keeps the situation and renders the controls from it; nothing is
// read back from a caption.
enum class RotationView { Data, Extended, Graph };

struct RotationSituation {
    bool acquiring = false;  // ComStop shows "Stop"
    bool suspended = false;  // ComSospendi shows "Continua"
    bool liveDisplay = true; // ComAttiva shows "&Disattiva": rows reach the live views
    RotationView view = RotationView::Data;
    bool scanAuto = false;    // one revolution fills the ten divisions
    bool syncTc = true;       // the sweep is synchronised on Tc, else on Tib
    bool saveOffered = false; // a first Stop or a document read: the rows can be saved
};

struct RotationControls {
    // Captions.
    const char* ComStop = "Start";
    const char* ComSospendi = "Sos&pendi";
    const char* ComAttiva = "&Disattiva";
    const char* ComDatiGrafico = "&Grafico";
    const char* ComDatiEst = "DatiEst";
    const char* ComScanAuto = "ScanAuto";
    const char* ComSincTc = "Sinc Tc";
    // Enables.
    bool ComSospendiEnabled = false;
    bool ComNuovaMisuraEnabled = true;
    bool ComSalvaEnabled = false;
    bool ComDatiEstEnabled = true;
    bool ComScanAutoEnabled = false;
    bool ComEsportaEnabled = true;
    // The main window's Save and Save As entries.
    bool saveEntries = false;
    // What is shown: the rows header over the list or the live text, the extended table
    // with its header, the graph with its scroll bars and scale.
    bool Label1 = true;
    bool List1 = true;
    bool Text1 = false;
    bool ListEst = false; // and LabEst
    bool graph = false;
};

RotationControls rotationControls(const RotationSituation& s);

} // namespace measure
