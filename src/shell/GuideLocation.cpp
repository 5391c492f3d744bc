#include "shell/GuideLocation.h"
#include <array>
#include <utility>

namespace shell {

namespace {
std::string join(std::string folder, const std::string& relative, char separator) {
    if (!folder.empty() && folder.back() != separator) folder += separator;
    for (const char c : relative)
        folder += c == '/' ? separator : c;
    return folder;
}
} // namespace

std::string guideFileName(int langCode) {
    return langCode == 2 ? "UserGuide.htm" : "GuidaUtente.htm";
}

std::vector<std::string> guideCandidates(const std::string& programFolder,
                                         const std::vector<std::string>& dataFolders, int langCode,
                                         char separator) {
    const std::string name = guideFileName(langCode);
    std::vector<std::string> paths;
    if (!programFolder.empty()) {
        paths.push_back(join(programFolder, name, separator));
        paths.push_back(
            join(programFolder, std::string(kGuideFolderInBuild) + "/" + name, separator));
        paths.push_back(
            join(programFolder, std::string(kGuideFolderFromProgram) + "/" + name, separator));
    }
    for (const std::string& data : dataFolders)
        if (!data.empty())
            paths.push_back(join(data, std::string(kGuideFolderInData) + "/" + name, separator));
    return paths;
}

std::string guideChapter(std::string_view windowName) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 12> kChapters{{
        {"frmMain", "workbench"},
        {"frmProgCurva", "curves"},
        {"frmProgTempoBobina", "coil"},
        {"frmMisRot", "measurements"},
        {"frmMisAnt", "advance"},
        {"frmMisRotNote", "notes"},
        {"frmPannelloControllo", "panel"},
        {"frmMisBatteria", "battery"},
        {"frmBloccoNote", "notebook"},
        {"frmAbout", "about"},
        {"frmTimerExact", "timer-exact"},
        {"frmUnitaSimulata", "simulated-unit"},
    }};
    for (const auto& [window, chapter] : kChapters)
        if (window == windowName) return std::string(chapter);
    return {};
}

} // namespace shell
