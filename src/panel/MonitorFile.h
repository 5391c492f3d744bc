#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace panel {

// The control panel's monitor text as a file of 29-byte records, one byte per character,
// line ends written like any other character.

inline constexpr std::size_t MonitorRecordLength = 29;

// Records 1..n hold characters (i - 1) * 29 + 1 .. i * 29 of the text; a last piece shorter
// than a record follows as the final record, unpadded, so no character of the log is lost.
std::string monitorFileImage(std::string_view text);
// Number of records the image holds, the short last one included.
std::size_t monitorRecordCount(std::size_t textLength);

} // namespace panel
