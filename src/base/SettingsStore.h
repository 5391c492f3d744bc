#pragma once
#include "base/AppState.h"
#include <string>

namespace base {

// Reads the settings file app.SettingsPath into app. A missing or foreign file is replaced
// by a fresh one (written atomically) and app gets the defaults. A file that exists but
// cannot be read, or is refused by its size, is left alone: app gets the defaults and
// SettingsUnreadable, which keeps SaveSettings from writing. Returns true when the settings
// came from an existing file, false when the defaults were set. LangOffset is left to the
// string table.
bool LoadSettings(AppState& app);

// The same reading without writing anything: a missing or foreign file gives the defaults
// and stays as it is (a run that only looks, such as --guide).
bool ReadSettings(AppState& app);

// Writes app's settings back to app.SettingsPath (records 1-14, atomically). Record 1 is
// taken from the file as it stands, so positions the program does not own survive.
// Does nothing while SettingsUnreadable or FolderShared is set. Returns an empty text on success
// (or when nothing was written), otherwise what went wrong.
std::string SaveSettings(AppState& app);

} // namespace base
