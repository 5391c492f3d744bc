#include "base/AppState.h"

namespace base {

void AppState::setAppFolder(const std::string& folder, char separator) {
    AppFolder = folder;
    // A root folder already ends with its separator ("C:\", "/"); an empty one means the
    // current folder.
    std::string prefix = folder;
    if (!prefix.empty() && prefix.back() != separator) prefix += separator;
    SettingsPath = prefix + "ZEPHALON.iniz";
    GuideItPath = prefix + "GuidaUtente.htm";
    GuideEnPath = prefix + "UserGuide.htm";
    NotebookPath = prefix + "Notebook.txt";
}

} // namespace base
