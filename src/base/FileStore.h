#pragma once
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace base {

// Whole-file reads and atomic writes: a temporary file beside the target is written,
// flushed and renamed over it, so a failed save leaves the previous file whole. Paths are
// UTF-8 (SystemPath.h). A save to a symbolic link replaces the file the link points to,
// with its temporary file beside that file, and leaves the link as it was.

// What a read found. Missing and Unreadable differ on purpose: a missing file may be
// created, an unreadable one (permissions, I/O error, a folder of that name) must be left
// alone. TooLarge is decided by the file's size before anything is read.
struct FileRead {
    enum class Result { Read, Missing, Unreadable, TooLarge };
    Result result = Result::Missing;
    std::string bytes; // the file, when Read
    std::string error; // the system's reason, when Unreadable or TooLarge

    bool ok() const { return result == Result::Read; }
};

FileRead readFile(const std::string& path,
                  std::uintmax_t maxBytes = std::numeric_limits<std::uintmax_t>::max());
// The file's bytes, or nothing when it is missing, unreadable or larger than maxBytes.
std::optional<std::string>
readWholeFile(const std::string& path,
              std::uintmax_t maxBytes = std::numeric_limits<std::uintmax_t>::max());

// Returns an empty text on success, otherwise a short description of the failure. A file
// that is replaced keeps its permissions.
std::string writeFileAtomically(const std::string& path, const std::string& bytes);

} // namespace base
