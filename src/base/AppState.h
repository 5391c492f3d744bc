#pragma once
#include "base/Settings.h"
#include <string>

namespace base {

// The platform's path separator, used for every path the program builds.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The application frame's shared state: what the settings file keeps plus the run-time
// bookkeeping every window reads. Created once by Main and passed by reference.
struct AppState : SettingsData {
    std::string AppFolder;    // native path, UTF-8
    std::string SettingsPath; // AppFolder + separator + "ZEPHALON.iniz"
    std::string GuideItPath;  // "GuidaUtente.htm"
    std::string GuideEnPath;  // "UserGuide.htm"
    std::string NotebookPath; // "Notebook.txt"
    bool InStartup = false;
    double TwipsPerPixelX = 15;
    double TwipsPerPixelY = 15;
    std::string MsgTitle;

    int ChildCount = 0;   // open document windows
    bool Closing = false; // the main window is closing
    bool Arranging = false;
    int CurrentWinNo = 0; // window being opened, activated or served
    bool WindowLoading = false;
    int TraceStep = 0;
    // The settings file exists but could not be read (permissions, I/O error, refused by its
    // size): the run goes on with the defaults and the file is not written at exit.
    bool SettingsUnreadable = false;
    std::string SettingsReadError;
    // Another session of the program runs in the same start folder: the settings, the
    // notebook and the simulated unit's memory are read but never written by this one.
    bool FolderShared = false;
    // The measurement windows' shared notes and links.

    // Sets AppFolder and the paths built from it.
    void setAppFolder(const std::string& folder, char separator = kPathSeparator);
};

} // namespace base
