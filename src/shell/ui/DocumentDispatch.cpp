#include "shell/ui/DocumentDispatch.h"
#include "base/FileStore.h"
#include "base/PathNames.h"
#include "base/RecentDocuments.h"
#include "base/ui/ChildWindow.h"
#include "shell/RecoveryFiles.h"
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>
#include <exception>

using namespace base;

namespace shell {

namespace {
constexpr int kOpenTitleId = 67;   // "Apri File"
constexpr int kSaveAsTitleId = 75; // "Salva file come"
constexpr int kConfirmOverwriteId = 49;
constexpr int kReadErrorId = 27; // "Errore di lettura da disco"
// A document larger than this is no file of the program (a million-row measurement is
// about 100 MB).
constexpr std::uintmax_t kMaxDocumentBytes = std::uintmax_t{1} << 30;
constexpr int kWriteErrorId = 109; // "Errore di scrittura su disco"
constexpr int kModifiedId = 52;    // "Il file è stato modificato"
constexpr int kProgramModifiedId = 126;
constexpr int kSaveChangesId = 53; // "Salvare le modifiche ?"
constexpr int kPlainMessage = 1;   // the insert is the whole message
constexpr int kFileMissing = 5;    // "File _ assente"
constexpr int kWrongFormat = 4;    // "Formato dati _ errato"
constexpr int kNotAllowed = 36;    // "Operazione non consentita"
constexpr const char* kAllFiles = "Tutti i files (*.*)";

// Save steps reached, shown with "Errore: MSF" / "Errore: MSFA" on an internal fault.
enum SaveStep { StepWriter = 1, StepDisk = 2, StepWindow = 3, StepRecent = 4 };

std::string nativePath(const QString& path) {
    return toSystemPath(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
}

QString sameFileKey(const std::string& path) {
    const QFileInfo info(fromSystemPath(path));
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

DocumentDispatch::DocumentDispatch(WindowContext& ctx, ShowChild showChild,
                                   std::function<void()> recentChanged)
    : ctx_(ctx), showChild_(std::move(showChild)), recentChanged_(std::move(recentChanged)) {}

void DocumentDispatch::registerKind(DocumentKind kind) {
    kinds_.push_back(std::move(kind));
}

const DocumentKind* DocumentDispatch::kindOfEntry(const std::string& entry) const {
    for (const DocumentKind& k : kinds_)
        for (const std::string& e : k.openEntries)
            if (e == entry) return &k;
    return nullptr;
}

const DocumentKind* DocumentDispatch::kindOfWindow(int winNo) const {
    for (const DocumentKind& k : kinds_)
        if (k.covers(winNo)) return &k;
    return nullptr;
}

const DocumentKind* DocumentDispatch::kindOfPath(const std::string& path) const {
    const std::string ext = extensionOf(path);
    for (const DocumentKind& k : kinds_)
        for (const std::string& e : k.extensions)
            if (e == ext && k.read) return &k;
    return nullptr;
}

ChildWindow* DocumentDispatch::windowOfPath(const std::string& path) const {
    if (!ctx_.frame) return nullptr;
    const QString key = sameFileKey(path);
    for (QMdiSubWindow* sub : ctx_.frame->mdiArea()->subWindowList()) {
        auto* child = qobject_cast<ChildWindow*>(sub->widget());
        auto* doc = dynamic_cast<DocumentWindow*>(child);
        if (doc && sub->isVisible() && !withoutTrailingBlanks(doc->documentPath()).empty() &&
            sameFileKey(withoutTrailingBlanks(doc->documentPath())) == key)
            return child;
    }
    return nullptr;
}

QString DocumentDispatch::openFilters() const {
    QStringList filters;
    for (const DocumentKind& k : kinds_)
        if (!k.openFilter.empty()) filters << fromLatin1(k.openFilter);
    filters << kAllFiles;
    return filters.join(";;");
}

QString DocumentDispatch::saveFilters() const {
    QStringList filters;
    for (const DocumentKind& k : kinds_)
        if (!k.saveFilter.empty()) filters << fromLatin1(k.saveFilter);
    return filters.join(";;");
}

std::string& DocumentDispatch::folderOf(const DocumentKind& kind) {
    return kind.measurement ? ctx_.app.LastMeasFolder : ctx_.app.LastDocFolder;
}

QString DocumentDispatch::startFolder(const DocumentKind& kind) {
    return fromSystemPath(folderOf(kind));
}

void DocumentDispatch::setChooser(Chooser chooser) {
    if (ctx_.dialogs) ctx_.dialogs->setChooser(std::move(chooser));
}

void DocumentDispatch::diskError(int textId, const std::string& path, const std::string& reason) {
    ctx_.messages.ShowMsg(kPlainMessage, kAppTitle,
                          fileErrorText(ctx_.texts, textId, path, reason));
}

void DocumentDispatch::remember(const DocumentKind& kind, const std::string& path, int winNo) {
    folderOf(kind) =
        toSystemPath(QDir::toNativeSeparators(QFileInfo(fromSystemPath(path)).absolutePath()));
    // Only what can be reopened enters the recent list.
    if (!kind.read) return;
    const WindowRecord& rec = ctx_.app.WinRec[winNo];
    addRecentDocument(ctx_.app, path, static_cast<uint8_t>(kind.firstWindow), rec.Left, rec.Top,
                      rec.Width, rec.Height);
    if (recentChanged_) recentChanged_();
}

void DocumentDispatch::OpenDocument(const std::string& entry) {
    const DocumentKind* kind = kindOfEntry(entry);
    if (!kind) return;
    FileDialogRequest request;
    request.title = QString("%1- %2").arg(kAppTitle, ctx_.text(kOpenTitleId));
    request.folder = startFolder(*kind);
    request.filters = openFilters();
    request.selectedFilter = fromLatin1(kind->openFilter);
    const QString chosen = chooseFile(ctx_, request);
    if (chosen.isEmpty()) return;
    const std::string path = nativePath(chosen);
    // A file of another registered kind goes to its own reader.
    const DocumentKind* byExtension = kindOfPath(path);
    const bool menuKindReads =
        byExtension && std::find(kind->extensions.begin(), kind->extensions.end(),
                                 extensionOf(path)) != kind->extensions.end();
    openPath(path, byExtension && !menuKindReads ? byExtension : kind);
}

ChildWindow* DocumentDispatch::openPath(const std::string& path, const DocumentKind* kind) {
    if (!kind) kind = kindOfPath(path);
    if (!kind || !kind->read) {
        ctx_.messages.ShowMsg(kWrongFormat, kAppTitle, path);
        return nullptr;
    }
    docPath_ = path;
    // A document already open comes forward instead of opening twice.
    if (ChildWindow* open = windowOfPath(path)) {
        if (QMdiSubWindow* sub = open->subWindow()) ctx_.frame->mdiArea()->setActiveSubWindow(sub);
        return open;
    }
    const FileRead file = readFile(path, kMaxDocumentBytes);
    if (!file.ok()) {
        diskError(kReadErrorId, path, file.error);
        return nullptr;
    }
    const std::string* bytes = &file.bytes;
    int winNo = 0;
    for (int n = kind->firstWindow; n <= kind->lastWindow && !winNo; ++n)
        if (ctx_.app.WinRec[n].State == 0) winNo = n;
    if (!winNo) {
        ctx_.messages.ShowMsg(kNotAllowed, kAppTitle, "");
        return nullptr;
    }
    ctx_.app.CurrentWinNo = winNo;
    int refusal = 0;
    ChildWindow* window = kind->read(ctx_, winNo, path, *bytes, refusal);
    if (!window) return nullptr; // refused: no window, no message
    if (showChild_) showChild_(window);
    remember(*kind, path, winNo);
    return window;
}

void DocumentDispatch::openRecent(int i) {
    if (i < 1 || i > 9) return;
    const RecentDocument entry = ctx_.app.RecentDoc[static_cast<size_t>(i)];
    const std::string path = withoutTrailingBlanks(entry.Path);
    if (path.empty()) return;
    if (!QFileInfo::exists(fromSystemPath(path))) {
        ctx_.messages.ShowMsg(kFileMissing, kAppTitle, path);
        removeRecentDocument(ctx_.app, i);
        if (recentChanged_) recentChanged_();
        return;
    }
    const DocumentKind* kind = kindOfWindow(entry.Kind);
    openPath(path, kind && kind->read ? kind : nullptr);
}

void DocumentDispatch::openPaths(const QStringList& paths) {
    for (const QString& p : paths)
        if (!p.isEmpty()) openPath(nativePath(p));
}

bool DocumentDispatch::canSaveAs(ChildWindow* window) const {
    const auto* doc = dynamic_cast<DocumentWindow*>(window);
    return doc && doc->documentSavable() && kindOfWindow(window->windowNumber()) != nullptr;
}

bool DocumentDispatch::canSave(ChildWindow* window) const {
    return canSaveAs(window) &&
           !withoutTrailingBlanks(dynamic_cast<DocumentWindow*>(window)->documentPath()).empty();
}

bool DocumentDispatch::SaveDocument(ChildWindow* window) {
    if (!canSaveAs(window)) return false;
    const std::string path =
        withoutTrailingBlanks(dynamic_cast<DocumentWindow*>(window)->documentPath());
    if (path.empty()) return SaveDocumentAs(window);
    return write(window, *kindOfWindow(window->windowNumber()), path, false);
}

bool DocumentDispatch::SaveDocumentAs(ChildWindow* window) {
    if (!canSaveAs(window)) return false;
    const DocumentKind& kind = *kindOfWindow(window->windowNumber());
    FileDialogRequest request;
    request.save = true;
    request.title = ctx_.text(kSaveAsTitleId);
    request.folder = startFolder(kind);
    request.filters = saveFilters();
    request.selectedFilter = fromLatin1(kind.saveFilter);
    request.defaultSuffix = fromLatin1(kind.extension);
    const std::string path = chooseSavePath(request);
    return !path.empty() && write(window, kind, path, true);
}

std::string DocumentDispatch::chooseSavePath(const FileDialogRequest& request) {
    FileDialogRequest asked = request;
    asked.dialogConfirmsOverwrite = false; // asked below, once the suffix is added
    QString chosen = chooseFile(ctx_, asked);
    if (chosen.isEmpty()) return {};
    if (extensionOf(toSystemPath(chosen)).empty() && !request.defaultSuffix.isEmpty())
        chosen += "." + request.defaultSuffix;
    const std::string path = nativePath(chosen);
    if (QFileInfo::exists(chosen)) {
        const std::string question = ctx_.texts.text(kConfirmOverwriteId) + "\r\n" + path;
        if (ctx_.messages.notifier().question(request.title.toStdString(), question) !=
            Notifier::Answer::Yes)
            return {};
    }
    return path;
}

std::string DocumentDispatch::chooseExportPath(const std::string& documentPath,
                                               const QString& filter, const QString& extension) {
    FileDialogRequest request;
    request.save = true;
    request.title = ctx_.text(kSaveAsTitleId);
    QFileInfo info(fromSystemPath(documentPath));
    request.folder = info.dir().filePath(info.completeBaseName() + "." + extension);
    request.filters = filter;
    request.selectedFilter = filter;
    request.defaultSuffix = extension;
    return chooseSavePath(request);
}

void DocumentDispatch::reportWriteError(const std::string& path, const std::string& reason) {
    diskError(kWriteErrorId, path, reason);
}

bool DocumentDispatch::write(ChildWindow* window, const DocumentKind& kind, const std::string& path,
                             bool saveAs) {
    auto* doc = dynamic_cast<DocumentWindow*>(window);
    AppState& app = ctx_.app;
    try {
        app.TraceStep = StepWriter;
        doc->documentWriting(path);
        const std::string bytes = doc->documentBytes();
        app.TraceStep = StepDisk;
        const std::string failure = writeFileAtomically(path, bytes);
        if (!failure.empty()) {
            diskError(kWriteErrorId, path, failure);
            return false;
        }
        app.TraceStep = StepWindow;
        doc->documentSaved(path);
        app.TraceStep = StepRecent;
        remember(kind, path, window->windowNumber());
        return true;
    } catch (const std::exception&) {
        ctx_.messages.notifier().notice((saveAs ? "Errore: MSFA" : "Errore: MSF") +
                                        std::to_string(app.TraceStep));
        return false;
    }
}

std::vector<std::string> DocumentDispatch::writeRecoveryFiles(const std::tm& when) {
    std::vector<std::string> names;
    if (!ctx_.frame) return names;
    for (QMdiSubWindow* sub : ctx_.frame->mdiArea()->subWindowList()) {
        auto* child = qobject_cast<ChildWindow*>(sub->widget());
        auto* doc = dynamic_cast<DocumentWindow*>(child);
        const DocumentKind* kind = doc ? kindOfWindow(child->windowNumber()) : nullptr;
        if (!kind || !sub->isVisible() || !doc->documentModified()) continue;
        // Named after the document's file, or its caption while it has none.
        std::string label = recoveryLabel(withoutTrailingBlanks(doc->documentPath()));
        if (label.empty()) label = recoveryLabel(toLatin1(child->windowTitle()));
        const std::string path =
            freeRecoveryPath(ctx_.app, recoveryFileName(label, kind->extension, when));
        std::string failure;
        try {
            doc->documentWriting(path);
            failure = writeFileAtomically(path, doc->recoveryBytes());
        } catch (const std::exception& e) {
            failure = e.what();
        }
        if (!failure.empty()) {
            diskError(kWriteErrorId, path, failure);
            continue;
        }
        names.push_back(fileNameOf(path));
    }
    return names;
}

bool DocumentDispatch::saveBeforeClosing(ChildWindow* window, const std::string& title,
                                         const std::function<void()>& beforeSaving) {
    switch (AskSaveChanges(1, title)) {
    case Notifier::Answer::Cancel:
        return false;
    case Notifier::Answer::Yes:
        if (beforeSaving) beforeSaving();
        return SaveDocument(window);
    case Notifier::Answer::No:
        break;
    }
    return true;
}

Notifier::Answer DocumentDispatch::AskSaveChanges(int kind, const std::string& title) {
    const int first = kind == 3 ? kProgramModifiedId : kModifiedId;
    return ctx_.messages.notifier().question(title, ctx_.texts.text(first) + "\r\n" +
                                                        ctx_.texts.text(kSaveChangesId));
}

} // namespace shell
