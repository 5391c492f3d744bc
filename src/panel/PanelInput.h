#pragma once
#include <string>
#include <string_view>

namespace panel {

// What the control panel accepts in its address and data boxes.

inline constexpr int MaxAddress = 255; // the scroll bars run 0..255

// A typed address: refused text puts the previous text back; an accepted one may have been
// replaced ("" or " " -> "0", above 255 -> "255").
struct AddressEntry {
    bool accepted = false;
    std::string text; // what the box shows afterwards
    int value = 0;    // the address, 0..255
};
AddressEntry addressFromText(std::string_view typed);

// A typed data byte: up to two hexadecimal digits, a single digit being the low one; an
// empty box means 0.
struct DataEntry {
    bool accepted = false;
    int value = 0;
};
DataEntry dataFromHexText(std::string_view typed);

// Addresses 0..3 hold the unit's identity and are never written from the panel.
inline constexpr bool isProtectedAddress(int address) {
    return address >= 0 && address <= 3;
}

} // namespace panel
