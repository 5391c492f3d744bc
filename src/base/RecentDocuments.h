#pragma once
#include "base/AppState.h"
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace base {

// The recently used documents list (RecentDoc entries 1-9, entry 1 the most recent).

// The path as the File menu shows it: at most 35 characters stay whole; a longer path keeps
// its first 3 characters, "..." and the tail from the leftmost separator after which at
// most 28 characters remain; when no separator qualifies, the first 3 characters + "..." +
// separator are followed by the first 25 characters of the last name and "..." marks the
// cut. A long path without any separator becomes its first 35 characters + "...".
std::string shortenedCaption(std::string_view path, char separator = kPathSeparator);

// Kind byte of a recent entry for a document of window number winNo: the first window number
// of its kind (2 curve, 12 coil pulse program, 22 control panel log, 25 advance measurement,
// 33 rotation measurement); 0 for windows that hold no document.
uint8_t recentDocumentKind(int winNo);

// Puts path at the front of the list with its window placement; a path already listed moves
// to the front, and the list keeps 9 entries. A blank path is ignored.
void addRecentDocument(AppState& app, const std::string& path, uint8_t kind, int16_t left,
                       int16_t top, int16_t sizeA, int16_t sizeB);

// Drops entry i (1-9); the later entries move up one place.
void removeRecentDocument(AppState& app, int i);

// Captions of the File menu's recent entries: "  &1  " + shortened path for entry 1, and so
// on up to 9, stopping at the first entry whose path has fewer than 5 characters.
std::vector<std::string> recentMenuCaptions(const AppState& app, char separator = kPathSeparator);

} // namespace base
