#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace auxiliary {

// The notebook's text buffer: exactly 32000 characters of 8-bit text, left-aligned and
// padded with spaces. The file "Notebook.txt" holds this buffer as its one record, so it is
// 32000 bytes long once written. Line ends are CR LF in the buffer and in the file; the
// text box works with single line feeds.

inline constexpr std::size_t BufferLength = 32000;

// The buffer image of a text: padded with spaces to BufferLength, or cut there.
std::string toBuffer(std::string_view text);

// The buffer read from the notebook file: a missing file gives a blank buffer, a short
// one is padded, a long one is cut to its first record.
std::string bufferFromFile(const std::optional<std::string>& fileImage);

// The text shown in the text box: the buffer without its trailing spaces, CR LF and lone
// CR turned into LF.
std::string textForBox(std::string_view buffer);

// The box text as it stands in the buffer: every LF becomes CR LF, so each line end takes
// two characters of the buffer.
std::string boxToBufferText(std::string_view boxText);

// How many buffer characters a box text takes (LF counts two).
std::size_t bufferLength(std::string_view boxText);

// What the notebook says when it leaves out characters its 8-bit file cannot hold
// (characters: UTF-8), by the string table half (LangOffset).
std::string unstorableNotice(std::string_view characters, int langOffset);

} // namespace auxiliary
