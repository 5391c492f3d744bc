#include "measure/RotationControls.h"

namespace measure {

RotationControls rotationControls(const RotationSituation& s) {
    RotationControls c;
    const bool stopped = !s.acquiring;
    c.ComStop = s.acquiring ? "Stop" : "Start";
    c.ComSospendi = s.acquiring && s.suspended ? "Continua" : "Sos&pendi";
    c.ComAttiva = s.liveDisplay ? "&Disattiva" : "Attiva";
    c.ComDatiGrafico = s.view == RotationView::Graph ? "Dati" : "&Grafico";
    c.ComDatiEst = s.view == RotationView::Extended ? "Dati" : "DatiEst";
    c.ComScanAuto = s.scanAuto ? "Normale" : "ScanAuto";
    c.ComSincTc = s.syncTc ? "Sinc Tc" : "Sinc Ib";

    c.ComSospendiEnabled = s.acquiring;
    c.ComNuovaMisuraEnabled = stopped;
    c.ComSalvaEnabled = stopped && s.saveOffered;
    c.ComDatiEstEnabled = stopped;
    c.ComScanAutoEnabled = s.view == RotationView::Graph;
    c.ComEsportaEnabled = stopped;
    c.saveEntries = c.ComSalvaEnabled;

    c.graph = s.view == RotationView::Graph;
    c.ListEst = s.view == RotationView::Extended && stopped;
    c.Label1 = s.view == RotationView::Data;
    c.List1 = c.Label1 && stopped;
    c.Text1 = c.Label1 && s.acquiring;
    return c;
}

} // namespace measure
