#pragma once
#include "coil/CoilDocument.h"
#include "coil/CoilEntry.h"
#include <array>
#include <optional>
#include <string>

namespace coil {

// The coil window's five number boxes, in the order of Quantity: their controls, caption,
// range and typing rules. L, R and V Batt are typed in tenths with a decimal comma, +R %
// and VR as whole numbers.

struct Field {
    const char* text;   // the text box
    const char* scroll; // its scroll bar
    const char* label;  // its caption label
    const char* caption;
    int min;
    int max;
    int largeStep;
};

inline constexpr std::array<Field, 5> Fields{{
    {"TextL", "VScrollL", "LabL", "L (mH)", LMin, LMax, 10},
    {"TextR", "VScrollR", "LabR", "R (Ohm)", RMin, RMax, 10},
    {"TextRPerc", "VScrollRPerc", "LabRPerc", "+R %", RPercMin, RPercMax, 30},
    {"TextVB", "VScrollVB", "LabVB", "V Batt (V)", VBattMin, VBattMax, 10},
    {"TextVR", "VScrollVR", "LabVR", "VR (g/m)", VRMin, VRMax, 100},
}};

inline const Field& field(Quantity q) {
    return Fields[static_cast<std::size_t>(q)];
}
// Typed in tenths with a decimal comma (a pasted point is taken as a comma).
bool inTenths(Quantity q);
// The box's text of a raw value: "5,0" or "20".
std::string textOf(Quantity q, int raw);
// The raw value a text stands for, within the box's range; an empty +R % is no extra
// resistance; nothing for a text the record cannot hold (empty, 0, out of range).
std::optional<int> valueOf(Quantity q, const std::string& text);
// Whether a whole text follows the box's rules, and a key's effect on it.
bool valid(Quantity q, const std::string& text);
Result key(Quantity q, const std::string& text, Edit edit, char key);

} // namespace coil
