#include "base/MenuCaptions.h"
#include "base/MenuTable.h"
#include <array>

namespace base {

namespace {
struct Caption {
    std::string_view entry;
    std::string_view italian;
    std::string_view english;
};

constexpr std::array kCaptions{
    Caption{"cliNotMeasurement", "_: non è un file di misura (.mrot, .mant) o è danneggiato",
            "_: not a measurement file (.mrot, .mant), or damaged"},
    Caption{"cliNotCurve", "_: non è un file di curva anticipo (.crva) o è danneggiato",
            "_: not an advance curve file (.crva), or damaged"},
    Caption{"cliUnknownKind", "_: tipo di file sconosciuto (si leggono .crva, .mrot, .mant)",
            "_: unknown kind of file (.crva, .mrot, .mant are read)"},
    Caption{"layerNoCurveWindow",
            "Scegliere in alto la finestra curva le cui curve sovrapporre al diagramma",
            "Choose above the curve window whose curves to lay over the diagram"},
    Caption{"cliMissingFile", "_ vuole il nome di un file", "_ needs a file name"},
    Caption{"ComIndietro", "< &Indietro", "< &Back"},
    Caption{"ComAvanti", "&Avanti >", "&Forward >"},
    Caption{"LabTrova", "&Trova:", "&Find:"},
    Caption{"ComTrovaPrec", "&Precedente", "&Previous"},
    Caption{"ComTrovaSucc", "&Successivo", "&Next"},
    Caption{"serialPrompt", "Percorso della porta MIDI seriale (seriale, /dev/snd/midiC*D*, pty):",
            "Path of the serial MIDI port (serial, /dev/snd/midiC*D*, pty):"},
    Caption{"serialBadPath", "Percorso della porta non valido: _", "Invalid port path: _"},
    Caption{"serialListed", "Porta già presente: _", "Port already listed: _"},
    Caption{"serialFull", "Non si possono aggiungere altre porte (massimo 8): _",
            "No more ports can be added (at most 8): _"},
    Caption{"serialSpeed", "Velocità della linea (baud): 31250 se l'adattatore la supporta",
            "Line speed (baud): 31250 where the adapter supports it"},
    Caption{"serialLost",
            "La porta MIDI _ non risponde più (scollegata o chiusa) ed è stata chiusa",
            "The MIDI port _ stopped answering (unplugged or closed) and has been closed"},
    Caption{"serialTooMany",
            "La porta _ è stata aggiunta ma non compare: i menu mostrano al massimo 7 dispositivi",
            "Port _ was added but is not shown: the menus list at most 7 devices"},
    Caption{"tipComTabella",
            "Mostra l'anticipo che la tabella della centralina applica a ogni passo di 100 "
            "giri/min (0 dove il conteggio supera 511)",
            "Shows the advance the unit's table applies at each 100 rpm step (0 where the "
            "count exceeds 511)"},
    Caption{"tipComCurva0Da",
            "Prende come curva 0 (di confronto, mai trasferita) una curva di un altro file; le "
            "curve 1 e 2 restano come sono",
            "Takes a curve of another file as curve 0 (for comparison, never transferred); "
            "curves 1 and 2 stay as they are"},
    Caption{"tipComProgCurva",
            "Scrive nel modulo %1 gli indirizzi 4 e 5 e la tabella della curva scelta: curva 1 "
            "agli indirizzi 6-112, curva 2 agli indirizzi 113-219, che comprendono il "
            "programma della bobina (202-208)",
            "Writes addresses 4 and 5 and the chosen curve's table into module %1: curve 1 at "
            "addresses 6-112, curve 2 at addresses 113-219, which include the coil program "
            "(202-208)"},
    Caption{"curve0Choice", "Curva %1 (%2 punti)", "Curve %1 (%2 points)"},
    Caption{"tipCommProgBobina",
            "Scrive il programma bobina negli indirizzi 202-208: cambia la curva 2 tra 8.200 e "
            "8.800 giri/min",
            "Writes the coil program to addresses 202-208: this changes curve 2 between 8,200 "
            "and 8,800 rpm"},
    Caption{"ComEsporta", "Esporta CSV", "Export CSV"},
    Caption{"ComVerifica", "Verifica curva", "Check curve"},
    Caption{"ComboCurva", "Curva _", "Curve _"},
    Caption{"ComSovrapponi", "Sovrapponi...", "Overlay..."},
    Caption{"ComSovrapponiTip",
            "Sovrappone al diagramma una misura (.mrot, .mant) o le curve di un file curva (.crva)",
            "Lays a measurement (.mrot, .mant) or the curves of a curve file (.crva) over the "
            "diagram"},
    Caption{"ComSovrapponiCurva", "Sovrapponi curva", "Overlay curve"},
    Caption{"ComSovrapponiCurvaTip", "Sovrappone le curve della finestra curva scelta in alto",
            "Lays the curves of the curve window chosen above over the diagram"},
    Caption{"ComRimuoviStrato", "Rimuovi", "Remove"},
    Caption{"checkCurveWindow", "Finestra: ", "Window: "},
    Caption{"checkStopFirst", "Fermare la misura prima di leggere la curva dall'unita'",
            "Stop the measurement before reading the curve from the unit"},
    Caption{"checkWrongModule", "Ha risposto l'altro modulo: verifica annullata",
            "The other module answered: check cancelled"},
    Caption{"checkRefused", "L'unita' ha rifiutato il modo programmazione: verifica annullata",
            "The unit refused programming mode: check cancelled"},
    Caption{"checkNoAnswer", "Nessuna risposta dall'unita': verifica annullata",
            "No answer from the unit: check cancelled"},
    Caption{"checkCancelledByRecording", "Misura avviata: lettura della curva annullata",
            "Measurement started: reading the curve cancelled"},
    Caption{"checkReading", "Lettura della curva %1 da %2...", "Reading curve %1 from %2..."},
    Caption{"checkNothingToCompare", "Nessun punto da confrontare con la curva",
            "No point to compare with the curve"},
    Caption{"checkLargest", "Scarto massimo %1 gradi a %2 (%3 punti)",
            "Largest difference %1 degrees at %2 (%3 points)"},
    Caption{"csvSeparatorItalian", "Separatore \";\" e virgola decimale (italiano)",
            "Separator \";\" and decimal comma (Italian)"},
    Caption{"csvSeparatorEnglish", "Separatore \",\" e punto decimale (inglese)",
            "Separator \",\" and decimal point (English)"},
    // Notices of the input's health.
    Caption{"noticeNoData", "Nessun dato dall'unità da %1 s", "No data from the unit for %1 s"},
    Caption{"noticeMidiLost", "Messaggi MIDI persi: %1", "MIDI messages lost: %1"},
    Caption{"noticeLinesNotShown", "Righe non mostrate: %1", "Lines not shown: %1"},
    Caption{"noticeMeasurementLost", "Messaggi persi: %1", "Messages lost: %1"},
    // A transfer's progress: the phase, the time left, how it ended.
    Caption{"transferCurve", "curva %1", "curve %1"},
    Caption{"transferBothCurves", "curve 1 e 2", "curves 1 and 2"},
    Caption{"transferCoil", "impulso bobina", "coil pulse"},
    Caption{"transferWriting", "Scrittura %1 in %2", "Writing %1 into %2"},
    Caption{"transferVerifying", "Verifica %1 in %2", "Verifying %1 in %2"},
    Caption{"transferLeft", "%1 - mancano %2", "%1 - %2 left"},
    Caption{"transferDoneCurve", "Curva %1 scritta in %2 e verificata in %3",
            "Curve %1 written into %2 and verified in %3"},
    Caption{"transferDoneBothCurves", "Curve 1 e 2 scritte in %1 e verificate in %2",
            "Curves 1 and 2 written into %1 and verified in %2"},
    Caption{"transferDoneCoil", "Impulso bobina scritto in %1 e verificato in %2",
            "Coil pulse written into %1 and verified in %2"},
    // The curve editor's read-out of the point under the cursor.
    Caption{"curveReadout", "%1 | %2° | conteggio %3 | in tabella %4",
            "%1 | %2° | count %3 | in table %4"},
};
} // namespace

std::string designCaption(std::string_view entry, int langOffset) {
    if (const base::Entry* e = find(entry); e && !e->textId)
        return std::string(langOffset == 200 ? e->english : e->italian);
    for (const Caption& c : kCaptions)
        if (c.entry == entry) return std::string(langOffset == 200 ? c.english : c.italian);
    return std::string(entry);
}

std::string designText(std::string_view entry, int langOffset,
                       std::initializer_list<std::string> fields) {
    std::string text = designCaption(entry, langOffset);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const auto field = static_cast<std::size_t>(next - '1');
        if (text[i] == '%' && next >= '1' && next <= '9' && field < fields.size()) {
            out += *(fields.begin() + field);
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace base
