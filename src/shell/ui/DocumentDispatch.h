#pragma once
#include "base/Notifier.h"
#include "base/ui/DocumentKind.h"
#include "base/ui/FileDialogs.h"
#include "base/ui/WindowContext.h"
#include <QString>
#include <QStringList>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

class ChildWindow;

// The File menu's shared open, save and save-as commands, serving every registered
// document kind (see DocumentKind.h).
class DocumentDispatch : public DocumentService {
public:
    using Chooser = FileDialogs::Chooser;
    // Puts a freshly built window into the main window (load, show).
    using ShowChild = std::function<void(ChildWindow*)>;

    DocumentDispatch(WindowContext& ctx, ShowChild showChild, std::function<void()> recentChanged);

    void registerKind(DocumentKind kind);
    // The kind whose File menu entry this is, or whose windows include winNo.
    const DocumentKind* kindOfEntry(const std::string& entry) const;
    const DocumentKind* kindOfWindow(int winNo) const;

    // Replaces the system's file dialogs (tests): every window's dialogs, through the
    // program's one FileDialogs.
    void setChooser(Chooser chooser);

    // The open dialog of a File menu entry, then the file to its reader.
    void OpenDocument(const std::string& entry);
    // Opens path with the reader of kind (or of the kind its extension names when kind is
    // null). Returns the window, or nullptr when nothing opened.
    ChildWindow* openPath(const std::string& path, const DocumentKind* kind = nullptr);
    // Recent list entry i (1-9): reopens its file, or says it is gone and drops it.
    void openRecent(int i);
    // Document paths given on the command line.
    void openPaths(const QStringList& paths);

    // Save and Save As are offered for the window.
    bool canSave(ChildWindow* window) const;
    bool canSaveAs(ChildWindow* window) const;
    // Writes the window's document to its path / to a path the user chooses. True when
    // the file is safely written.
    bool SaveDocument(ChildWindow* window) override;
    bool SaveDocumentAs(ChildWindow* window);

    // The save-changes question: kind 1 "file modified", kind 3 "program modified".
    Notifier::Answer AskSaveChanges(int kind, const std::string& title) override;
    // The one save question of a document window with unsaved changes that is closing:
    // asks (kind 1, title) and on Yes runs beforeSaving (a recording ends first, so that
    // what is saved is complete), then saves. False when the window must stay open
    // (Cancel, or Yes but nothing was written).
    bool saveBeforeClosing(ChildWindow* window, const std::string& title,
                           const std::function<void()>& beforeSaving = {}) override;

    // The program ends on a signal and cannot ask: every open document with unsaved changes
    // is written into the start folder under a recovery name (RecoveryFiles.h) stamped
    // with when, in its kind's format. Returns the names written; a file that cannot be
    // written is reported and left out. The windows keep their modified marks.
    std::vector<std::string> writeRecoveryFiles(const std::tm& when);

    // Where to write a file made from a document (Export PDF): the save dialog starts
    // beside the document, proposing its name with extension; overwriting an existing file
    // is confirmed. Empty: cancelled.
    std::string chooseExportPath(const std::string& documentPath, const QString& filter,
                                 const QString& extension);
    // A file could not be written: said as a save's failure is.
    void reportWriteError(const std::string& path, const std::string& reason);

    // Path chosen in the last open dialog.
    const std::string& DocPath() const { return docPath_; }

private:
    // The save dialog's answer with its default suffix, overwriting confirmed; empty: none.
    std::string chooseSavePath(const FileDialogRequest& request);
    std::string& folderOf(const DocumentKind& kind);
    QString startFolder(const DocumentKind& kind);
    void remember(const DocumentKind& kind, const std::string& path, int winNo);
    bool write(ChildWindow* window, const DocumentKind& kind, const std::string& path, bool saveAs);
    void diskError(int textId, const std::string& path, const std::string& reason);
    const DocumentKind* kindOfPath(const std::string& path) const;
    ChildWindow* windowOfPath(const std::string& path) const;
    QString openFilters() const;
    QString saveFilters() const;

    WindowContext& ctx_;
    ShowChild showChild_;
    std::function<void()> recentChanged_;
    std::vector<DocumentKind> kinds_;
    std::string docPath_;
};
