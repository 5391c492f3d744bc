#pragma once
#include <string>
#include <string_view>

namespace base {

// The bilingual string table: ids 1-199 Italian, 201-399 the same texts in English.
// Texts are UTF-8 in memory; files convert to 8-bit Latin-1 at their boundary.
class Texts {
public:
    int LangOffset = 0; // 0 (Italian) or 200 (English)

    // text(id + LangOffset); an id without an entry gives an empty text.
    std::string text(int id) const;
    // The entry stored under exactly this id, or nullptr when there is none.
    static const char* raw(int id);
};

} // namespace base
