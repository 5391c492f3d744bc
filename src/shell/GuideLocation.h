#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace shell {

// The guide's file name in a language (1 Italian, 2 English).
std::string guideFileName(int langCode);

// Where the guides are installed, relative to the folder of the installed program.
inline constexpr const char* kGuideFolderFromProgram = "../share/zephalon/guide";
// Where the guides are installed below a system data folder (/usr/share, ...).
inline constexpr const char* kGuideFolderInData = "zephalon/guide";
// Where the build puts a copy of the guides, relative to the program it builds.
inline constexpr const char* kGuideFolderInBuild = "guide";

// Where the Help menu looks for the guide after the start folder, in order: beside the
// program, the build folder's copy, the installed data folder next to the program, then each
// system data folder. Folders may end with their separator or not; empty ones are skipped.
std::vector<std::string> guideCandidates(const std::string& programFolder,
                                         const std::vector<std::string>& dataFolders, int langCode,
                                         char separator);

// The id of the guide's chapter about a window, by the window's class name ("frmProgCurva"
// -> "curves"; the frame itself -> its own chapter); empty for a window the guide does not
// describe. Both guides carry the same ids.
std::string guideChapter(std::string_view windowName);

} // namespace shell
