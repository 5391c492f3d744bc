#include "base/Texts.h"

#include "StringTable.h"

#include <algorithm>

namespace base {

std::string Texts::text(int id) const {
    // Widened so that a stray id near the int limits cannot overflow.
    const long long key = static_cast<long long>(id) + LangOffset;
    if (key < 1 || key > 399) return {};
    const char* found = raw(static_cast<int>(key));
    return found ? std::string(found) : std::string();
}

const char* Texts::raw(int id) {
    const auto entries = stringTableEntries();
    const auto it = std::lower_bound(entries.begin(), entries.end(), id,
                                     [](const StringEntry& e, int key) { return e.id < key; });
    if (it == entries.end() || it->id != id) return nullptr;
    return it->text;
}

} // namespace base
