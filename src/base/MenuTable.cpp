#include "base/MenuTable.h"
#include "base/ShowMsg.h"
#include "base/Texts.h"

namespace base {

namespace {

constexpr Entry kEntries[] = {
    {.name = "mnuFile", .item = Item::Menu, .textId = 2},
    {.name = "mnuApriMrot",
     .parent = "mnuFile",
     .italian = "Apri &Misura...",
     .english = "Open &Measurement...",
     .firstWindow = RotationWindow,
     .lastWindow = RotationWindow,
     .instances = Instances::Single,
     .enabled = Enabled::Registered},
    {.name = "mnuNuovoCrva",
     .parent = "mnuFile",
     .italian = "&Nuova Curva Anticipo",
     .english = "&New Advance Curve",
     .key = Key::New,
     .firstWindow = FirstCurveWindow,
     .lastWindow = LastCurveWindow,
     .instances = Instances::FreeSlot,
     .enabled = Enabled::RegisteredAndFree},
    {.name = "mnuApriCrva",
     .parent = "mnuFile",
     .italian = "&Apri Curva Anticipo...",
     .english = "&Open Advance Curve...",
     .key = Key::Open,
     .firstWindow = FirstCurveWindow,
     .lastWindow = LastCurveWindow,
     .instances = Instances::FreeSlot,
     .enabled = Enabled::RegisteredAndFree},
    {.name = "mnuNuovoIBob",
     .parent = "mnuFile",
     .italian = "N&uovo Impulso Bobina",
     .english = "Ne&w Coil Pulse",
     .firstWindow = FirstCoilWindow,
     .lastWindow = LastCoilWindow,
     .instances = Instances::FreeSlot,
     .enabled = Enabled::RegisteredAndFree},
    {.name = "mnuApriIBob",
     .parent = "mnuFile",
     .italian = "Apri &Impulso Bobina...",
     .english = "Open Coil &Pulse...",
     .firstWindow = FirstCoilWindow,
     .lastWindow = LastCoilWindow,
     .instances = Instances::FreeSlot,
     .enabled = Enabled::RegisteredAndFree},
    {.name = "mnuApriTesto",
     .parent = "mnuFile",
     .italian = "Apri &Testo...",
     .english = "Open &Text...",
     .instances = Instances::Single,
     .enabled = Enabled::Registered},
    {.name = "mnuSep1", .parent = "mnuFile", .item = Item::Separator},
    {.name = "mnuChiudi",
     .parent = "mnuFile",
     .textId = 8,
     .key = Key::Close,
     .enabled = Enabled::WithActive},
    {.name = "mnuSep16", .parent = "mnuFile", .item = Item::Separator},
    {.name = "mnuSalva",
     .parent = "mnuFile",
     .italian = "&Salva",
     .english = "&Save",
     .key = Key::Save,
     .enabled = Enabled::ActiveSaves},
    {.name = "mnuSalvaAs",
     .parent = "mnuFile",
     .italian = "Salva &con nome...",
     .english = "Save &As...",
     .key = Key::SaveAs,
     .alsoKey = "Ctrl+Shift+S",
     .alsoKeyOnlyIfNone = true,
     .enabled = Enabled::ActiveSavesAs},
    {.name = "mnuSep17", .parent = "mnuFile", .item = Item::Separator},
    {.name = "mnuStampa",
     .parent = "mnuFile",
     .italian = "Stam&pa",
     .english = "&Print",
     .enabled = Enabled::ActiveSheet},
    {.name = "mnuEsportaPdf",
     .parent = "mnuFile",
     .italian = "Esporta P&DF...",
     .english = "Export P&DF...",
     .enabled = Enabled::ActiveSheet},
    {.name = "mnuSep12", .parent = "mnuFile", .item = Item::Separator},
    {.name = "mnuSep15", .parent = "mnuFile", .item = Item::Separator},
    {.name = "mnuRecentFile_",
     .parent = "mnuFile",
     .item = Item::List,
     .count = 9,
     .firstIndex = 1},
    {.name = "mnuSep13", .parent = "mnuFile", .item = Item::Separator},
    {.name = "mnuExit",
     .parent = "mnuFile",
     .textId = 7,
     .key = Key::Quit,
     .alsoKey = "Ctrl+Q",
     .alsoKeyOnlyIfNone = true},

    {.name = "mnuModifica", .item = Item::Menu, .textId = 71, .enabled = Enabled::WithChildren},
    {.name = "mnuAnnulla",
     .parent = "mnuModifica",
     .italian = "Annulla",
     .english = "Undo",
     .key = Key::Undo,
     .enabled = Enabled::History},
    {.name = "mnuRipeti",
     .parent = "mnuModifica",
     .italian = "Ripeti",
     .english = "Redo",
     .key = Key::Redo,
     .alsoKey = "Ctrl+Y",
     .enabled = Enabled::History},
    {.name = "mnuIngrandisci", .parent = "mnuModifica", .textId = 123},
    {.name = "mnuTaglia", .parent = "mnuModifica", .textId = 73, .key = Key::Cut},
    {.name = "mnuCopia", .parent = "mnuModifica", .textId = 72, .key = Key::Copy},
    {.name = "mnuIncolla", .parent = "mnuModifica", .textId = 74, .key = Key::Paste},

    {.name = "mnuView", .item = Item::Menu, .textId = 3},
    {.name = "mnuPannelloControllo",
     .parent = "mnuView",
     .italian = "Pannello di controllo",
     .english = "Control panel",
     .firstWindow = PanelWindow,
     .lastWindow = PanelWindow,
     .instances = Instances::Single,
     .enabled = Enabled::Registered,
     .picture = "frmPannelloControllo"},
    {.name = "mnuProgCurva",
     .parent = "mnuView",
     .italian = "Programmazione curva anticipo",
     .english = "Advance curve programming",
     .firstWindow = FirstCurveWindow,
     .lastWindow = LastCurveWindow,
     .instances = Instances::FreeSlot,
     .enabled = Enabled::Registered,
     .picture = "frmProgCurva"},
    {.name = "mnuProgTempoBobina",
     .parent = "mnuView",
     .italian = "Programmazione impulso bobina",
     .english = "Coil pulse programming",
     .firstWindow = FirstCoilWindow,
     .lastWindow = LastCoilWindow,
     .instances = Instances::FreeSlot,
     .enabled = Enabled::RegisteredAndFree,
     .picture = "frmProgTempoBobina"},
    {.name = "mnuTimerExact",
     .parent = "mnuView",
     .italian = "Timer Exact",
     .english = "Timer Exact",
     .instances = Instances::Single,
     .enabled = Enabled::Registered,
     .picture = "frmTimerExact"},
    {.name = "mnuMisBatteria",
     .parent = "mnuView",
     .italian = "Misura Dinamica Tensione Batteria",
     .english = "Battery voltage measurement",
     .firstWindow = BatteryWindow,
     .lastWindow = BatteryWindow,
     .instances = Instances::Single,
     .enabled = Enabled::Registered,
     .picture = "frmMisBatteria"},
    {.name = "mnuMisRot",
     .parent = "mnuView",
     .italian = "Misura Rotazione",
     .english = "Rotation measurement",
     .firstWindow = RotationWindow,
     .lastWindow = RotationWindow,
     .instances = Instances::Single,
     .enabled = Enabled::Registered,
     .picture = "frmMisRot"},
    {.name = "mnuMisAnt",
     .parent = "mnuView",
     .italian = "Misura Anticipo",
     .english = "Advance measurement",
     .firstWindow = AdvanceWindow,
     .lastWindow = AdvanceWindow,
     .instances = Instances::Single,
     .enabled = Enabled::Registered,
     .picture = "frmMisAnt"},
    {.name = "mnuUnitaSimulata",
     .parent = "mnuView",
     .italian = "Unità simulata",
     .english = "Simulated unit",
     .instances = Instances::Single,
     .enabled = Enabled::Registered,
     .shown = Shown::WhenRegistered,
     .picture = "frmUnitaSimulata"},

    {.name = "mnuPreferenze", .item = Item::Menu, .textId = 62},
    {.name = "mnuMIDIOut",
     .parent = "mnuPreferenze",
     .item = Item::Menu,
     .textId = 151,
     .enabled = Enabled::Devices},
    // The device menus list at most 7 devices each.
    {.name = "mnuDevMIDIOut_", .parent = "mnuMIDIOut", .item = Item::CheckList, .count = 7},
    {.name = "mnuMIDIIn", .parent = "mnuPreferenze", .item = Item::Menu, .textId = 152},
    {.name = "mnuDevMIDIIn_", .parent = "mnuMIDIIn", .item = Item::CheckList, .count = 7},
    {.name = "mnuMIDIThru",
     .parent = "mnuPreferenze",
     .item = Item::Check,
     .italian = "MIDI Thru",
     .english = "MIDI Thru",
     .enabled = Enabled::Devices},
    {.name = "mnuPortaSeriale",
     .parent = "mnuPreferenze",
     .italian = "Aggiungi porta MIDI seriale...",
     .english = "Add serial MIDI port...",
     .shown = Shown::WithSerialPorts},
    {.parent = "mnuPreferenze", .item = Item::Separator},
    {.name = "mnuVisBarraStato", .parent = "mnuPreferenze", .item = Item::Check, .textId = 103},
    {.name = "mnuLingua",
     .parent = "mnuPreferenze",
     .item = Item::Menu,
     .italian = "Lingua",
     .english = "Language"},
    {.name = "mnuLinguaIt",
     .parent = "mnuLingua",
     .item = Item::Choice,
     .italian = "Italiano",
     .english = "Italiano"},
    {.name = "mnuLinguaEn",
     .parent = "mnuLingua",
     .item = Item::Choice,
     .italian = "English",
     .english = "English"},
    {.parent = "mnuPreferenze", .item = Item::Separator},
    {.name = "mnuBloccoNote",
     .parent = "mnuPreferenze",
     .textId = 128,
     .firstWindow = NotebookWindow,
     .lastWindow = NotebookWindow,
     .instances = Instances::Single,
     .enabled = Enabled::Registered,
     .picture = "frmBloccoNote"},

    {.name = "mnuWindow", .item = Item::Menu, .textId = 4, .enabled = Enabled::WithChildren},
    {.name = "mnuSovrapponi", .parent = "mnuWindow", .textId = 9},
    {.name = "mnuAffiancaOrizz", .parent = "mnuWindow", .textId = 94},
    {.name = "mnuAffiancaVert", .parent = "mnuWindow", .textId = 95},
    {.parent = "mnuWindow", .item = Item::Separator},
    {.name = "mnuFinestraSucc",
     .parent = "mnuWindow",
     .italian = "Finestra successiva",
     .english = "Next window",
     .key = Key::NextChild},

    {.name = "mnuHelp", .item = Item::Menu, .italian = "&?", .english = "&?"},
    // F1 opens the guide at the chapter of the window in use, the menu at its top.
    {.name = "mnuGuida", .parent = "mnuHelp", .textId = 47, .alsoKey = "F1"},
    {.name = "mnuInfo",
     .parent = "mnuHelp",
     .textId = 30,
     .withProductName = true,
     .firstWindow = AboutWindow,
     .lastWindow = AboutWindow,
     .instances = Instances::Single,
     .enabled = Enabled::Registered,
     .picture = "frmAbout"},

    // The rotation window's notes, opened by its ComNote.
    {.name = "mnuMisRotNote",
     .item = Item::Window,
     .firstWindow = NotesWindow,
     .lastWindow = NotesWindow,
     .instances = Instances::Single},
};

bool anyFree(const Entry& e, const std::array<WindowRecord, 44>& records) {
    for (int n = e.firstWindow; n <= e.lastWindow; ++n)
        if (records[static_cast<std::size_t>(n)].State == 0) return true;
    return false;
}

// The state rule gives the entry at moment, or nothing when the moment leaves it as it is.
int stateAt(const Entry& e, Moment moment, const Situation& s) {
    constexpr int keep = -1;
    const bool active = moment == Moment::Activated && s.childCount > 0;
    const auto registered = [&] { return s.registered && s.registered(e.name); };
    switch (e.enabled) {
    case Enabled::WithChildren:
        return moment == Moment::Load ? 0 : moment == Moment::Opened ? keep : s.childCount > 0;
    case Enabled::WithActive:
        return moment == Moment::Opened ? keep : active;
    case Enabled::ActiveSaves:
        return moment == Moment::Opened ? keep : active && s.activeSaves;
    case Enabled::ActiveSavesAs:
        return moment == Moment::Opened ? keep : active && s.activeSavesAs;
    case Enabled::ActiveSheet:
        return moment == Moment::Opened ? keep : active && s.activeSheet;
    case Enabled::Registered:
        return moment == Moment::Load ? registered() : keep;
    case Enabled::RegisteredAndFree:
        if (moment == Moment::Activated) return keep;
        return registered() && (!s.records || anyFree(e, *s.records));
    default:
        return keep;
    }
}

} // namespace

std::span<const Entry> entries() {
    return kEntries;
}

const Entry* find(std::string_view name) {
    for (const Entry& e : kEntries)
        if (!name.empty() && e.name == name) return &e;
    return nullptr;
}

const Entry* showing(std::string_view picture) {
    for (const Entry& e : kEntries)
        if (!picture.empty() && e.picture == picture) return &e;
    return nullptr;
}

std::string caption(const Entry& entry, const Texts& texts) {
    std::string text = entry.textId
                           ? texts.text(entry.textId)
                           : std::string(texts.LangOffset == 200 ? entry.english : entry.italian);
    if (entry.withProductName) text += kProductName;
    return text;
}

std::vector<std::pair<std::string_view, bool>> enables(Moment moment, const Situation& s) {
    std::vector<std::pair<std::string_view, bool>> out;
    for (const Entry& e : kEntries)
        if (const int state = stateAt(e, moment, s); state >= 0) out.emplace_back(e.name, state);
    return out;
}

Opening planOpening(const Entry& entry, const std::array<WindowRecord, 44>& records,
                    std::span<const OpenWindow> open) {
    Opening plan;
    if (entry.instances == Instances::FreeSlot) {
        for (int n = entry.firstWindow; n <= entry.lastWindow && !plan.number; ++n)
            if (records[static_cast<std::size_t>(n)].State == 0) plan.number = n;
        if (plan.number) plan.what = Opening::What::Create;
        return plan;
    }
    // Single: by window number, or by entry for windows without a record.
    plan.number = entry.firstWindow;
    for (std::size_t i = 0; i < open.size(); ++i) {
        const bool same = plan.number ? open[i].number == plan.number : open[i].entry == entry.name;
        if (same) {
            plan.what = Opening::What::BringForward;
            plan.at = i;
            return plan;
        }
    }
    plan.what = Opening::What::Create;
    return plan;
}

} // namespace base
