#include "app/Settings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

// Any settings file image: the reader must neither crash nor read out of bounds, and what
// it accepts must write back as at least the 14 records older readers know (the serial port
// record and later ones follow when there are any), which it accepts again.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    SettingsData settings;
    if (!parseSettings(file, settings)) return 0;
    const std::string written = serializeSettings(settings);
    SettingsData again;
    if (written.size() < 14 * static_cast<std::size_t>(kSettingsRecordSize) ||
        !parseSettings(written, again))
        std::abort();
    return 0;
}
