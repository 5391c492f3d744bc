#pragma once
#include <QString>
#include <functional>
#include <string_view>

class QWidget;

namespace base {

struct WindowContext;

// What an open or save dialog is asked; the answer is a path, empty for Cancel.
struct FileDialogRequest {
    bool save = false;
    QString title;
    QString folder;         // starting folder (or the file proposed in it); empty: the dialog's own
    QString filters;        // Qt form, ";;" between filters
    QString selectedFilter; // the one shown first
    QString defaultSuffix;  // save only
    QString proposedName;   // save only: the name offered in the folder
    // Save only: the dialog asks before an existing file is chosen; false where the caller
    // asks itself, once the suffix is added.
    bool dialogConfirmsOverwrite = true;
    // Where the filter the user ended with is written (a chooser keeps selectedFilter).
    QString* chosenFilter = nullptr;

    static FileDialogRequest toOpen(const QString& title, const QString& folder,
                                    const QString& filters);
    static FileDialogRequest toSave(const QString& title, const QString& folder,
                                    const QString& filters, const QString& defaultSuffix);
};

// The one place that shows the program's open and save dialogs. Tests replace the system's
// dialogs with a chooser that answers each request.
class FileDialogs {
public:
    using Chooser = std::function<QString(const FileDialogRequest&)>;

    // The window the dialogs are modal to.
    void setOwner(QWidget* owner) { owner_ = owner; }
    void setChooser(Chooser chooser) { chooser_ = std::move(chooser); }
    QString choose(const FileDialogRequest& request) const;

private:
    QWidget* owner_ = nullptr;
    Chooser chooser_;
};

// A window's dialog: through the program's FileDialogs (ctx.dialogs), or the system's own
// when the window stands alone.
QString chooseFile(const WindowContext& ctx, const FileDialogRequest& request);
// A filter of the document kinds' table as the dialogs take it.
QString dialogFilter(std::string_view filter);

} // namespace base
