#include "base/RecentDocuments.h"
#include "base/DocumentKinds.h"
#include "base/PathNames.h"

#include <algorithm>

namespace base {

namespace {

constexpr std::size_t kWholeUpTo = 35;  // a caption path this short is shown whole
constexpr std::size_t kTailAtMost = 28; // characters after the separator that is kept
constexpr std::size_t kHeadKept = 3;    // "C:\" of a Windows path
constexpr std::size_t kNameKept = 25;   // of a last name too long to show whole
constexpr std::size_t kShortestListed = 5;
constexpr int kEntries = 9;

// Paths are UTF-8: lengths and cuts count characters, so no letter is cut in two.
bool continuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::size_t characters(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return !continuationByte(c); }));
}

std::string firstCharacters(std::string_view text, std::size_t n) {
    std::size_t end = 0;
    for (std::size_t seen = 0; end < text.size(); ++end) {
        if (!continuationByte(text[end]) && seen++ == n) break;
    }
    return std::string(text.substr(0, end));
}

} // namespace

std::string shortenedCaption(std::string_view path, char separator) {
    const std::string p = withoutTrailingBlanks(path);
    if (characters(p) <= kWholeUpTo) return std::string(p);

    const auto last = p.rfind(separator);
    if (last == std::string_view::npos) return firstCharacters(p, kWholeUpTo) + "...";

    const std::string head = firstCharacters(p, kHeadKept) + "..." + separator;
    // Leftmost separator after which at most 28 characters remain.
    for (std::size_t at = p.find(separator); at != std::string_view::npos;
         at = p.find(separator, at + 1)) {
        if (characters(p.substr(at + 1)) <= kTailAtMost)
            return head + std::string(p.substr(at + 1));
    }
    // Even the last name is too long: show its beginning.
    return head + firstCharacters(p.substr(last + 1), kNameKept) + "...";
}

uint8_t recentDocumentKind(int winNo) {
    const DocumentKindRow* row = documentKindOfWindow(winNo);
    return row ? static_cast<uint8_t>(row->firstWindow) : 0;
}

void addRecentDocument(AppState& app, const std::string& path, uint8_t kind, int16_t left,
                       int16_t top, int16_t sizeA, int16_t sizeB) {
    const std::string trimmed = withoutTrailingBlanks(path);
    if (trimmed.empty()) return;

    auto& list = app.RecentDoc; // entries 1-9; [0] is never used
    auto first = list.begin() + 1;
    auto end = list.end();
    // The entry that makes room: the same path if listed, else the first unused one (the
    // menu stops there), else the oldest.
    auto found =
        std::find_if(first, end, [&](const RecentDocument& d) { return d.Path == trimmed; });
    if (found == end)
        found = std::find_if(first, end, [](const RecentDocument& d) {
            return withoutTrailingBlanks(d.Path).size() < kShortestListed;
        });
    if (found == end) found = end - 1;
    std::rotate(first, found, found + 1);

    RecentDocument& doc = *first;
    doc.Path = trimmed;
    doc.Kind = kind;
    doc.Flags = 0;
    doc.Left = left;
    doc.Top = top;
    doc.SizeA = sizeA;
    doc.SizeB = sizeB;
}

void removeRecentDocument(AppState& app, int i) {
    if (i < 1 || i > kEntries) return;
    auto& list = app.RecentDoc;
    std::rotate(list.begin() + i, list.begin() + i + 1, list.end());
    list.back() = RecentDocument{};
}

std::vector<std::string> recentMenuCaptions(const AppState& app, char separator) {
    std::vector<std::string> captions;
    for (int i = 1; i <= kEntries; ++i) {
        const std::string path = withoutTrailingBlanks(app.RecentDoc[i].Path);
        if (path.size() < kShortestListed) break;
        captions.push_back("  &" + std::to_string(i) + "  " + shortenedCaption(path, separator));
    }
    return captions;
}

} // namespace base
