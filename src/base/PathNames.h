#pragma once
#include <string>
#include <string_view>

namespace base {

// The parts of a file path as the program holds it (UTF-8 text). Both '/' and '\' end a
// folder, so that a path written on either platform splits the same way.

// The file's name: what follows the last separator (the whole path when it has none).
std::string fileNameOf(std::string_view path);
// The folder: what comes before the last separator; empty when the path names no folder.
std::string folderOf(std::string_view path);
// The file name's extension, without the dot, in lower case; empty when it has none.
std::string extensionOf(std::string_view path);
// The file name without folder and extension ("Misura-6dic26.mrot" -> "Misura-6dic26").
std::string baseNameOf(std::string_view path);
// The path with extension (without the dot) in place of its own, or added when it has none.
std::string withExtension(std::string_view path, std::string_view extension);
// A path kept in a fixed-width field, without the blanks that fill the field.
std::string withoutTrailingBlanks(std::string_view path);

} // namespace base
