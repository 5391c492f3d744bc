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

namespace base {
class ChildWindow;
} // namespace base

namespace shell {

// The File menu's shared open, save and save-as commands, serving every registered
// document kind (see DocumentKind.h).
class DocumentDispatch : public base::DocumentService {
public:
    using Chooser = base::FileDialogs::Chooser;
    // Puts a freshly built window into the main window (load, show).
    using ShowChild = std::function<void(base::ChildWindow*)>;

    DocumentDispatch(base::WindowContext& ctx, ShowChild showChild,
                     std::function<void()> recentChanged);

    void registerKind(base::DocumentKind kind);
    // The kind whose File menu entry this is, or whose windows include winNo.
    const base::DocumentKind* kindOfEntry(const std::string& entry) const;
    const base::DocumentKind* kindOfWindow(int winNo) const;

    // Replaces the system's file dialogs (tests): every window's dialogs, through the
    // program's one FileDialogs.
    void setChooser(Chooser chooser);

    // The open dialog of a File menu entry, then the file to its reader.
    void OpenDocument(const std::string& entry);
    // Opens path with the reader of kind (or of the kind its extension names when kind is
    // null). Returns the window, or nullptr when nothing opened.
    base::ChildWindow* openPath(const std::string& path, const base::DocumentKind* kind = nullptr);
    // Recent list entry i (1-9): reopens its file, or says it is gone and drops it.
    void openRecent(int i);
    // Document paths given on the command line.
    void openPaths(const QStringList& paths);

    // Save and Save As are offered for the window.
    bool canSave(base::ChildWindow* window) const;
    bool canSaveAs(base::ChildWindow* window) const;
    // Writes the window's document to its path / to a path the user chooses. True when
    // the file is safely written.
    bool SaveDocument(base::ChildWindow* window) override;
    bool SaveDocumentAs(base::ChildWindow* window);

    // The save-changes question: kind 1 "file modified", kind 3 "program modified".
    base::Notifier::Answer AskSaveChanges(int kind, const std::string& title) override;
    // The one save question of a document window with unsaved changes that is closing:
    // asks (kind 1, title) and on Yes runs beforeSaving (a recording ends first, so that
    // what is saved is complete), then saves. False when the window must stay open
    // (Cancel, or Yes but nothing was written).
    bool saveBeforeClosing(base::ChildWindow* window, const std::string& title,
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
    std::string chooseSavePath(const base::FileDialogRequest& request);
    std::string& folderOf(const base::DocumentKind& kind);
    QString startFolder(const base::DocumentKind& kind);
    void remember(const base::DocumentKind& kind, const std::string& path, int winNo);
    bool write(base::ChildWindow* window, const base::DocumentKind& kind, const std::string& path,
               bool saveAs);
    void diskError(int textId, const std::string& path, const std::string& reason);
    const base::DocumentKind* kindOfPath(const std::string& path) const;
    base::ChildWindow* windowOfPath(const std::string& path) const;
    QString openFilters() const;
    QString saveFilters() const;

    base::WindowContext& ctx_;
    ShowChild showChild_;
    std::function<void()> recentChanged_;
    std::vector<base::DocumentKind> kinds_;
    std::string docPath_;
};

} // namespace shell
