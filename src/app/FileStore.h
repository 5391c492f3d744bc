#pragma once
#include <optional>
#include <string>

// Whole-file reads and atomic writes: a temporary file beside the target is written,
// flushed and renamed over it, so a failed save leaves the previous file whole.
// A failed read gives nullopt and, when reason is given, the system's reason.
std::optional<std::string> readWholeFile(const std::string& path, std::string* reason = nullptr);
// Returns an empty text on success, otherwise the system's reason for the failure.
std::string writeFileAtomically(const std::string& path, const std::string& bytes);
