#pragma once
#include <span>
#include <string_view>

namespace base {

// The program's document kinds, declared once: which windows hold them, their extension
// and the filters of the open and save dialogs. The dispatch, the recent list, the file
// commands and the windows' own dialogs all read this table.
enum class DocKind { Curve, Coil, MonitorText, Advance, Rotation };

struct DocumentKindRow {
    DocKind kind;
    int firstWindow; // window numbers of the kind
    int lastWindow;
    std::string_view extension;  // without the dot
    std::string_view openFilter; // empty: not opened from the open dialog
    std::string_view saveFilter;
    std::string_view openEntry; // the File menu entry that opens it; empty: none
    bool measurement;           // folders: LastMeasFolder instead of LastDocFolder

    bool covers(int winNo) const { return winNo >= firstWindow && winNo <= lastWindow; }
};

// The rows, in the order of the dialogs' filters.
std::span<const DocumentKindRow> documentKinds();
const DocumentKindRow& documentKind(DocKind kind);
// The row whose windows include winNo, or whose extension (case ignored) is ext; nullptr
// when none.
const DocumentKindRow* documentKindOfWindow(int winNo);
const DocumentKindRow* documentKindOfExtension(std::string_view ext);

} // namespace base
