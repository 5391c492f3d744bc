#include "base/MonthNames.h"

namespace base {

std::string_view monthAbbreviation(int month, int langCode) {
    static constexpr std::string_view kItalian[] = {"gen", "feb", "mar", "apr", "mag", "giu",
                                                    "lug", "ago", "set", "ott", "nov", "dic"};
    static constexpr std::string_view kEnglish[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                                    "jul", "aug", "sep", "oct", "nov", "dec"};
    const int i = ((month - 1) % 12 + 12) % 12;
    return (langCode == 2 ? kEnglish : kItalian)[i];
}

} // namespace base
