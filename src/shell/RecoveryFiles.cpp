#include "shell/RecoveryFiles.h"
#include "base/FileStore.h"
#include <cstdio>
#include <filesystem>
#include <system_error>

using namespace base;

namespace shell {

namespace {

constexpr size_t kMaxLabel = 40;
constexpr int kRecoveredId = 165; // "... scritti in _:"

std::string inFolder(const AppState& app, const std::string& name) {
    std::string path = app.AppFolder;
    if (!path.empty() && path.back() != kPathSeparator) path += kPathSeparator;
    return path + name;
}

std::string listPath(const AppState& app) {
    return inFolder(app, kRecoveryListName);
}

bool exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::path(path), ec);
}

bool safe(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.';
}

} // namespace

std::string recoveryLabel(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '*'))
        text.remove_suffix(1);
    if (const size_t cut = text.find_last_of("/\\:"); cut != std::string_view::npos)
        text.remove_prefix(cut + 1);
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    if (const size_t dot = text.find_last_of('.'); dot != std::string_view::npos && dot > 0)
        text = text.substr(0, dot);
    std::string label;
    for (const char c : text.substr(0, kMaxLabel))
        label += safe(c) ? c : '_';
    return label;
}

std::string recoveryFileName(std::string_view label, std::string_view extension,
                             const std::tm& when) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", when.tm_year + 1900,
                  when.tm_mon + 1, when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec);
    std::string name = "Recupero-";
    if (!label.empty()) name.append(label).append("-");
    return name.append(stamp).append(".").append(extension);
}

std::string freeRecoveryPath(const AppState& app, const std::string& name) {
    std::string path = inFolder(app, name);
    const size_t dot = name.find_last_of('.');
    const std::string stem = name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
    for (int n = 2; exists(path); ++n)
        path = inFolder(app, stem + "-" + std::to_string(n) + extension);
    return path;
}

std::string addToRecoveryList(const AppState& app, const std::vector<std::string>& names) {
    std::string list = readWholeFile(listPath(app)).value_or(std::string());
    for (const std::string& name : names)
        list += name + "\n";
    return writeFileAtomically(listPath(app), list);
}

std::vector<std::string> takeRecoveryList(const AppState& app) {
    std::vector<std::string> names;
    const std::optional<std::string> list = readWholeFile(listPath(app), 1 << 16);
    if (!list) return names;
    size_t start = 0;
    while (start < list->size()) {
        size_t end = list->find('\n', start);
        if (end == std::string::npos) end = list->size();
        std::string name = list->substr(start, end - start);
        if (!name.empty() && name.back() == '\r') name.pop_back();
        if (!name.empty() && exists(inFolder(app, name))) names.push_back(name);
        start = end + 1;
    }
    std::error_code ec;
    std::filesystem::remove(std::filesystem::path(listPath(app)), ec);
    return names;
}

std::string recoveryReport(const Texts& texts, const AppState& app,
                           const std::vector<std::string>& names) {
    std::string text = texts.text(kRecoveredId);
    if (const size_t mark = text.find('_'); mark != std::string::npos)
        text.replace(mark, 1, app.AppFolder); // held as UTF-8, as the boxes take it
    for (const std::string& name : names)
        text += "\r\n" + name;
    return text;
}

} // namespace shell
