#pragma once
#include <optional>
#include <string>

// Whole-file reads and atomic writes: a temporary file beside the target is written,
// flushed and renamed over it, so a failed save leaves the previous file whole.
std::optional<std::string> readWholeFile(const std::string& path);
// Returns an empty text on success, otherwise a short description of the failure.
std::string writeFileAtomically(const std::string& path, const std::string& bytes);
