#pragma once
#include <span>

// One entry of the bilingual string table: ids 1-199 Italian, the same text in English at
// id + 200. Texts are UTF-8.
struct StringEntry {
    int id;
    const char* text;
};

// Every stored entry, sorted by id (ascending, no repeats).
std::span<const StringEntry> stringTableEntries();
