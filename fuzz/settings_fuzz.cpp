// Any settings file image: the reader must neither crash nor read out of bounds, and what it
// accepts writes back as records 1-14 (and record 15 with what follows it when there are
// serial ports or later records), which read and write again to the same bytes.
#include "FuzzCheck.h"
#include "base/Settings.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace base;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    SettingsData settings;
    if (!parseSettings(file, settings)) return 0;
    const std::string written = serializeSettings(settings);
    const std::size_t record = kSettingsRecordSize;
    if (settings.SerialPorts.empty() && settings.LaterRecords.empty())
        check(written.size() == 14 * record);
    else
        check(written.size() == 15 * record + settings.LaterRecords.size());
    // One round may still normalise: a window record at -16000, -16000 with no size is
    // written as NULs and reads back as never placed. From then on nothing changes.
    SettingsData again;
    check(parseSettings(written, again));
    const std::string rewritten = serializeSettings(again);
    check(rewritten.size() == written.size());
    SettingsData third;
    check(parseSettings(rewritten, third));
    check(serializeSettings(third) == rewritten);
    return 0;
}
