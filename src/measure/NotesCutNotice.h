#pragma once
#include <string>
#include <string_view>

namespace measure {

// What the user is told when a measurement file's notes were longer than the reader takes
// (kMrotNotesLimit): the file by name, that only the notes' beginning was read and that the
// rows were all loaded. UTF-8, like the message texts; langOffset 0 Italian, 200 English.
std::string notesCutNotice(std::string_view path, int langOffset);

} // namespace measure
