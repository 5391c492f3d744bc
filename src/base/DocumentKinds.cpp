#include "base/DocumentKinds.h"
#include "base/PathNames.h"
#include "base/WindowRecord.h"
#include <array>

namespace base {

namespace {
constexpr std::array kRows{
    DocumentKindRow{DocKind::Curve, FirstCurveWindow, LastCurveWindow, "crva",
                    "Curve Anticipo (*.crva)", "Curve Anticipo (*.crva)", "mnuApriCrva", false},
    DocumentKindRow{DocKind::Coil, FirstCoilWindow, LastCoilWindow, "ibob",
                    "Impulso Bobina (*.ibob)", "Corrente Bobina (*.ibob)", "mnuApriIBob", false},
    DocumentKindRow{DocKind::MonitorText, PanelWindow, PanelWindow, "txt", "", "File testo (*.txt)",
                    "", false},
    DocumentKindRow{DocKind::Advance, AdvanceWindow, AdvanceWindow, "mant",
                    "Misura Anticipo (*.mant)", "Misura Anticipo (*.mant *.mrot)", "", true},
    DocumentKindRow{DocKind::Rotation, RotationWindow, RotationWindow, "mrot",
                    "Misura Rotazione (*.mrot)", "Misura Rotazione (*.mrot)", "mnuApriMrot", true},
};
} // namespace

std::span<const DocumentKindRow> documentKinds() {
    return kRows;
}

const DocumentKindRow& documentKind(DocKind kind) {
    for (const DocumentKindRow& row : kRows)
        if (row.kind == kind) return row;
    return kRows.front();
}

const DocumentKindRow* documentKindOfWindow(int winNo) {
    for (const DocumentKindRow& row : kRows)
        if (row.covers(winNo)) return &row;
    return nullptr;
}

const DocumentKindRow* documentKindOfExtension(std::string_view ext) {
    const std::string lower = extensionOf("." + std::string(ext));
    for (const DocumentKindRow& row : kRows)
        if (row.extension == lower) return &row;
    return nullptr;
}

} // namespace base
