#pragma once
#include <string_view>

namespace base {

// The three-letter month of the program's documents' names: "gen".."dic" in Italian
// (langCode 1), "jan".."dec" in English (langCode 2). month 1-12; other values wrap.
std::string_view monthAbbreviation(int month, int langCode = 1);

} // namespace base
