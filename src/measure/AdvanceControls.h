#pragma once

namespace measure {

// What the advance window shows and which of its controls take input, from the window's
// situation. The window keeps the situation and renders the controls from it.
struct AdvanceSituation {
    bool acquiring = false;   // ComStop shows "Stop"
    bool suspended = false;   // ComSospendi shows "Continua": rows are not added here
    bool liveDisplay = true;  // ComAttiva shows "Disattiva": rows reach Text1
    bool graph = false;       // the diagram, else the table (or the live text)
    bool readingBack = false; // the closed-loop check reads a curve from the unit
    bool checking = false;    // a curve to compare with is set
};

struct AdvanceControls {
    // Captions.
    const char* ComStop = "Start";
    const char* ComSospendi = "Sospendi";
    const char* ComAttiva = "Disattiva";
    const char* ComDatiGrafico = "Grafico";
    // Enables; the main window's Save and Save As entries follow ComSalva.
    bool ComSospendiEnabled = false;
    bool ComNuovaMisuraEnabled = true;
    bool ComSalvaEnabled = true;
    bool ComEsportaEnabled = true;
    bool ComVerificaEnabled = true;
    // What is shown: the table (List1) or the live text (Text1) under their header, or the
    // diagram with its limit bars and axis labels; the differences from the curve checked.
    bool List1 = true;
    bool Text1 = false;
    bool LabIntestazione = true;
    bool graph = false;
    bool ListScarti = false;
};

AdvanceControls advanceControls(const AdvanceSituation& s);

} // namespace measure
