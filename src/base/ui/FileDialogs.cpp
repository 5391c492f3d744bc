#include "base/ui/FileDialogs.h"
#include "base/ui/WindowContext.h"
#include <QFileDialog>

namespace base {

FileDialogRequest FileDialogRequest::toOpen(const QString& title, const QString& folder,
                                            const QString& filters) {
    FileDialogRequest r;
    r.title = title;
    r.folder = folder;
    r.filters = filters;
    return r;
}

FileDialogRequest FileDialogRequest::toSave(const QString& title, const QString& folder,
                                            const QString& filters, const QString& defaultSuffix) {
    FileDialogRequest r = toOpen(title, folder, filters);
    r.save = true;
    r.defaultSuffix = defaultSuffix;
    return r;
}

QString FileDialogs::choose(const FileDialogRequest& request) const {
    if (request.chosenFilter) *request.chosenFilter = request.selectedFilter;
    if (chooser_) return chooser_(request);
    QFileDialog dialog(owner_, request.title, request.folder, request.filters);
    if (!request.selectedFilter.isEmpty()) dialog.selectNameFilter(request.selectedFilter);
    if (request.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(request.defaultSuffix);
        if (!request.proposedName.isEmpty()) dialog.selectFile(request.proposedName);
        if (!request.dialogConfirmsOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    if (request.chosenFilter) *request.chosenFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

QString chooseFile(const WindowContext& ctx, const FileDialogRequest& request) {
    if (ctx.dialogs) return ctx.dialogs->choose(request);
    return FileDialogs().choose(request);
}

QString dialogFilter(std::string_view filter) {
    return QString::fromLatin1(filter.data(), static_cast<qsizetype>(filter.size()));
}

} // namespace base
