#include "measure/AdvanceControls.h"

namespace measure {

AdvanceControls advanceControls(const AdvanceSituation& s) {
    AdvanceControls c;
    c.ComStop = s.acquiring ? "Stop" : "Start";
    c.ComSospendi = s.acquiring && s.suspended ? "Continua" : "Sospendi";
    c.ComAttiva = s.liveDisplay ? "Disattiva" : "Attiva";
    c.ComDatiGrafico = s.graph ? "Dati" : "Grafico";
    c.ComSospendiEnabled = s.acquiring;
    c.ComNuovaMisuraEnabled = !s.acquiring;
    c.ComSalvaEnabled = !s.acquiring;
    c.ComEsportaEnabled = !s.acquiring;
    c.ComVerificaEnabled = !s.readingBack;
    c.graph = s.graph;
    c.LabIntestazione = !s.graph;
    c.List1 = !s.graph && !s.acquiring;
    c.Text1 = !s.graph && s.acquiring;
    c.ListScarti = s.checking;
    return c;
}

} // namespace measure
