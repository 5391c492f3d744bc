#include "base/SettingsStore.h"

#include "base/FileStore.h"

namespace base {

namespace {
bool readSettingsFile(AppState& app, bool replaceMissing) {
    FileRead file = readFile(app.SettingsPath, kSettingsMaxFileSize);
    app.SettingsUnreadable = false;
    app.SettingsReadError.clear();
    SettingsData loaded;
    if (file.ok() && parseSettings(file.bytes, loaded)) {
        static_cast<SettingsData&>(app) = std::move(loaded);
        return true;
    }
    SettingsData defaults;
    const std::string image = newSettingsFile(defaults);
    if (file.result == FileRead::Result::Unreadable || file.result == FileRead::Result::TooLarge) {
        // The user's file stays as it is: replacing what could not be read would lose it.
        app.SettingsUnreadable = true;
        app.SettingsReadError = file.error;
    } else if (replaceMissing) {
        // New or foreign file: start again from the defaults. A failed write is not fatal
        // here: the program runs on the defaults and the exit writes the file again.
        writeFileAtomically(app.SettingsPath, image);
    }
    defaults.header = image.substr(0, kSettingsRecordSize);
    static_cast<SettingsData&>(app) = std::move(defaults);
    return false;
}
} // namespace

bool LoadSettings(AppState& app) {
    return readSettingsFile(app, true);
}

bool ReadSettings(AppState& app) {
    return readSettingsFile(app, false);
}

std::string SaveSettings(AppState& app) {
    if (app.SettingsUnreadable || app.FolderShared) return {};
    // Reread record 1 so that what others keep there is carried over.
    if (const auto file = readWholeFile(app.SettingsPath, kSettingsMaxFileSize);
        file && file->compare(0, kSettingsSignature.size(), kSettingsSignature) == 0)
        app.header = file->substr(0, kSettingsRecordSize);
    const std::string image = serializeSettings(app);
    std::string error = writeFileAtomically(app.SettingsPath, image);
    if (error.empty()) app.header = image.substr(0, kSettingsRecordSize);
    return error;
}

} // namespace base
