#include "auxiliary/NotebookText.h"

namespace auxiliary {

std::string toBuffer(std::string_view text) {
    std::string buffer(text.substr(0, BufferLength));
    buffer.resize(BufferLength, ' ');
    return buffer;
}

std::string bufferFromFile(const std::optional<std::string>& fileImage) {
    if (!fileImage) return std::string(BufferLength, ' ');
    return toBuffer(*fileImage);
}

std::string textForBox(std::string_view buffer) {
    const std::size_t end = buffer.find_last_not_of(' ');
    const std::string_view kept =
        end == std::string_view::npos ? std::string_view{} : buffer.substr(0, end + 1);
    std::string text;
    text.reserve(kept.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const char c = kept[i];
        if (c == '\r') {
            text.push_back('\n');
            if (i + 1 < kept.size() && kept[i + 1] == '\n') ++i;
        } else {
            text.push_back(c);
        }
    }
    return text;
}

std::string boxToBufferText(std::string_view boxText) {
    std::string out;
    out.reserve(boxText.size() + boxText.size() / 16);
    for (const char c : boxText) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

std::size_t bufferLength(std::string_view boxText) {
    std::size_t n = boxText.size();
    for (const char c : boxText)
        if (c == '\n') ++n;
    return n;
}

std::string unstorableNotice(std::string_view characters, int langOffset) {
    const std::string chars(characters);
    if (langOffset == 200)
        return "Not inserted: " + chars +
               " (the notebook keeps only Latin-1 characters, one byte each)";
    return "Non inserito: " + chars +
           " (il blocco note conserva solo caratteri Latin-1, un byte ciascuno)";
}

} // namespace auxiliary
