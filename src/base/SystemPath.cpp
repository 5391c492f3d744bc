#include "base/SystemPath.h"

namespace base {

std::filesystem::path filePath(std::string_view utf8) {
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string pathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

std::string utf8FromLatin1(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size());
    for (const char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string latin1FromUtf8(std::string_view utf8, bool* whole) {
    std::string out;
    out.reserve(utf8.size());
    bool all = true;
    auto continuation = [&utf8](std::size_t at) {
        return at < utf8.size() && (static_cast<unsigned char>(utf8[at]) & 0xC0) == 0x80;
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        // The length of the sequence a lead byte announces; a stray byte counts as one.
        const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        std::size_t n = 1;
        while (n < length && continuation(i + n))
            ++n;
        if (length == 2 && n == 2 && (c == 0xC2 || c == 0xC3)) {
            out += static_cast<char>(((c & 0x03) << 6) | (utf8[i + 1] & 0x3F));
        } else {
            out += '?';
            all = false;
        }
        i += n;
    }
    if (whole) *whole = all;
    return out;
}

} // namespace base
