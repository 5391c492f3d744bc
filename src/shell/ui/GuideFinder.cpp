#include "shell/ui/GuideFinder.h"
#include "base/ui/WindowContext.h"
#include "shell/GuideLocation.h"
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace base;

namespace shell {

namespace {
// A guide that cannot be read is as good as none.
bool isFile(const QString& path) {
    const QFileInfo file(path);
    return file.isFile() && file.isReadable();
}
std::string utf8(const QString& s) {
    return QDir::toNativeSeparators(s).toStdString();
}
} // namespace

QString findUserGuide(const AppState& app, const QString& programFolder) {
    // The start folder's guide first.
    const QString startGuide =
        fromSystemPath(app.LangCode == 2 ? app.GuideEnPath : app.GuideItPath);
    if (!startGuide.isEmpty() && isFile(startGuide))
        return QFileInfo(startGuide).absoluteFilePath();

    std::vector<std::string> dataFolders;
    for (const QString& folder :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        dataFolders.push_back(utf8(folder));
    for (const std::string& path : guideCandidates(utf8(programFolder), dataFolders, app.LangCode,
                                                   QDir::separator().toLatin1())) {
        // "bin/../share" is taken by its letters: the program's folder is already resolved.
        const QString file = QDir::cleanPath(QString::fromStdString(path));
        if (isFile(file)) return QFileInfo(file).absoluteFilePath();
    }
    return {};
}

} // namespace shell
