#include "base/PathNames.h"
#include <algorithm>

namespace base {

namespace {
constexpr std::string_view kSeparators = "/\\";

size_t nameStart(std::string_view path) {
    const size_t cut = path.find_last_of(kSeparators);
    return cut == std::string_view::npos ? 0 : cut + 1;
}

// Where the extension's dot stands in path; npos when the name has none. A name that is
// only a dot and an extension (".crva") has that extension.
size_t extensionDot(std::string_view path) {
    const size_t dot = path.find_last_of('.');
    return dot == std::string_view::npos || dot < nameStart(path) ? std::string_view::npos : dot;
}
} // namespace

std::string fileNameOf(std::string_view path) {
    return std::string(path.substr(nameStart(path)));
}

std::string folderOf(std::string_view path) {
    const size_t start = nameStart(path);
    return start == 0 ? std::string() : std::string(path.substr(0, start == 1 ? 1 : start - 1));
}

std::string extensionOf(std::string_view path) {
    const size_t dot = extensionDot(path);
    if (dot == std::string_view::npos) return {};
    std::string ext(path.substr(dot + 1));
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    });
    return ext;
}

std::string baseNameOf(std::string_view path) {
    const std::string name = fileNameOf(path);
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string withExtension(std::string_view path, std::string_view extension) {
    const size_t dot = extensionDot(path);
    // A name that begins with its only dot keeps it: the extension is added.
    const bool hasExtension = dot != std::string_view::npos && dot > nameStart(path);
    return std::string(hasExtension ? path.substr(0, dot) : path) + "." + std::string(extension);
}

std::string withoutTrailingBlanks(std::string_view path) {
    const size_t end = path.find_last_not_of(' ');
    return std::string(end == std::string_view::npos ? std::string_view()
                                                     : path.substr(0, end + 1));
}

} // namespace base
