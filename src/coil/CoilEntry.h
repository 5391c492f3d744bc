#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace coil {

// The typing rules of the coil window's text boxes. A key is the typed character, '\b' for
// backspace and 0x7F for delete; the caret and selection are character positions. A
// refused key leaves the box as it was.

inline constexpr char Backspace = '\b';
inline constexpr char Delete = 0x7F;

struct Edit {
    int selStart = 0;  // caret, or start of the selection
    int selLength = 0; // 0: no selection
};

struct Result {
    bool accepted = false;
    std::string text;
    int caret = 0;
};

// TextVR: digits; at most four characters; never 0 nor above 8000 (an emptied box is kept).
Result keyVR(std::string_view text, Edit edit, char key);
// TextRPerc: digits; at most three characters, and three only as "100".
Result keyRPerc(std::string_view text, Edit edit, char key);
// TextL / TextR (and TextVB with maxRaw 150): digits and one decimal comma (a point is
// taken as a comma), one decimal at most, never above maxRaw tenths (25,5); a comma typed
// first gives "0,".
Result keyTenths(std::string_view text, Edit edit, char key, int maxRaw = 255);

// Whether a whole text follows each box's rules (a paste is checked this way).
bool validVR(std::string_view text);
bool validRPerc(std::string_view text);
bool validTenths(std::string_view text, int maxRaw = 255);

// The values the texts stand for; nothing for an empty text. Tenths: "5,0", "5," and "5"
// all give 50.
std::optional<int> wholeValue(std::string_view text);
std::optional<int> tenthsValue(std::string_view text);

} // namespace coil
