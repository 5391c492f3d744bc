#include "app/SettingsStore.h"

#include "app/FileStore.h"

bool LoadSettings(AppState& app) {
    SettingsData loaded;
    if (const auto file = readWholeFile(app.SettingsPath); file && parseSettings(*file, loaded)) {
        static_cast<SettingsData&>(app) = std::move(loaded);
        return true;
    }
    // New or foreign file: start again from the defaults. A failed write is not fatal here:
    // the program runs on the defaults and the exit writes the file again.
    SettingsData defaults;
    const std::string image = newSettingsFile(defaults);
    writeFileAtomically(app.SettingsPath, image);
    defaults.header = image.substr(0, kSettingsRecordSize);
    static_cast<SettingsData&>(app) = std::move(defaults);
    return false;
}

std::string SaveSettings(AppState& app) {
    // Reread record 1 so that what others keep there is carried over.
    if (const auto file = readWholeFile(app.SettingsPath);
        file && file->compare(0, kSettingsSignature.size(), kSettingsSignature) == 0)
        app.header = file->substr(0, kSettingsRecordSize);
    const std::string image = serializeSettings(app);
    std::string error = writeFileAtomically(app.SettingsPath, image);
    if (error.empty()) app.header = image.substr(0, kSettingsRecordSize);
    return error;
}
