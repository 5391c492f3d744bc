#pragma once
#include "base/DocumentKinds.h"
#include <functional>
#include <string>
#include <vector>

namespace base {

class ChildWindow;
struct WindowContext;

// How a document kind plugs into the File menu's open / save / save-as dispatch.
//
// A kind takes its row of the program's table (documentKindFor, app/DocumentKinds.h), adds
// its reader and registers it from its own subsystem (registerWindows:
// main.documents().registerKind(...)). Its windows derive from
// DocumentWindow as well as ChildWindow. The dispatch then, knowing no kind by name:
// - opens the kind's files from the File menu entries it names in openEntries, from the
//   recent list and from the command line (by extension), reading the bytes itself and
//   handing them to read() together with the first free window number of the kind;
// - saves the active window when its number lies in firstWindow..lastWindow, writing the
//   bytes of documentBytes() atomically and then calling documentSaved();
// - remembers the folder in LastDocFolder, or LastMeasFolder for measurement kinds, and
//   enters every document opened or saved in the recent list;
// - when the program ends on a signal, writes every document with unsaved changes into the
//   start folder as a recovery file (writeRecoveryFiles).
// Disk errors are reported by the dispatch; a kind never shows a box for them.

// A window that holds a document.
class DocumentWindow {
public:
    virtual ~DocumentWindow() = default;
    // The path Save writes to; empty when the document has none (only Save As is offered).
    virtual std::string documentPath() const = 0;
    // The writer: the whole document as the bytes of its file.
    virtual std::string documentBytes() = 0;
    // Called just before documentBytes() with the path the bytes will be written to (Save
    // As writes to a new one), for a document that records its own path.
    virtual void documentWriting(const std::string& /*path*/) {}
    // The bytes are safely on disk at path: the window takes the path, its caption and
    // clears its modified mark.
    virtual void documentSaved(const std::string& path) = 0;
    // False while the document cannot be written now (a measurement being recorded): Save
    // and Save As are then neither offered nor carried out.
    virtual bool documentSavable() const { return true; }
    // The document has changes not yet saved.
    virtual bool documentModified() const = 0;
    // The bytes of a recovery file when the program ends on a signal: the document as it
    // stands, a measurement being recorded with the rows taken so far. Asked after
    // documentWriting() with the recovery file's path, whatever documentSavable() says.
    virtual std::string recoveryBytes() { return documentBytes(); }
};

struct DocumentKind {
    int firstWindow = 0; // window numbers of the kind
    int lastWindow = 0;
    std::string extension;    // proposed by Save As, without the dot
    bool measurement = false; // folders: LastMeasFolder instead of LastDocFolder
    // Filters of the open and save dialogs, e.g. "Curve Anticipo (*.crva)"; empty: none.
    std::string openFilter;
    std::string saveFilter;
    // File menu entries that open a file of this kind.
    std::vector<std::string> openEntries;
    // Extensions (without the dot) whose files the reader takes, for the recent list and
    // the command line.
    std::vector<std::string> extensions;
    // The reader: builds the (not yet loaded) window winNo for a file's bytes. A file it
    // refuses gives nullptr and a refusal from 1 to 4; nothing is shown then.
    using Reader =
        std::function<ChildWindow*(WindowContext& ctx, int winNo, const std::string& path,
                                   const std::string& bytes, int& refusal)>;
    Reader read;

    bool covers(int winNo) const { return winNo >= firstWindow && winNo <= lastWindow; }
};

// The dispatch's entry for a kind of the program's table (app/DocumentKinds.h), with its
// reader (none: written only).
inline DocumentKind documentKindFor(DocKind which, DocumentKind::Reader read = {}) {
    const DocumentKindRow& row = documentKind(which);
    DocumentKind k;
    k.firstWindow = row.firstWindow;
    k.lastWindow = row.lastWindow;
    k.extension = row.extension;
    k.measurement = row.measurement;
    k.openFilter = row.openFilter;
    k.saveFilter = row.saveFilter;
    if (!row.openEntry.empty()) k.openEntries = {std::string(row.openEntry)};
    k.extensions = {std::string(row.extension)};
    k.read = std::move(read);
    return k;
}

} // namespace base
