#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace base {

// The program holds every file name and folder as UTF-8 text, whatever the platform: that
// is what the toolkit's strings give and what the file API is handed through
// std::filesystem::path (UTF-8 to the system's own form: the bytes themselves on POSIX,
// UTF-16 on Windows). Only the path fields kept inside the program's files (the .mrot path
// records, the folders and recent documents of the settings file) are 8-bit Latin-1, one
// byte per character, so that their columns stay fixed; they are converted here, where
// they are read and written.

// The path of a UTF-8 file name, for the file API.
std::filesystem::path filePath(std::string_view utf8);
// A path as the program holds it (UTF-8).
std::string pathText(const std::filesystem::path& path);

// Latin-1 text (one byte per character) as UTF-8.
std::string utf8FromLatin1(std::string_view latin1);
// UTF-8 text as Latin-1: a character Latin-1 has no place for (or a byte that is not
// UTF-8) becomes '?', and whole becomes false.
std::string latin1FromUtf8(std::string_view utf8, bool* whole = nullptr);

} // namespace base
