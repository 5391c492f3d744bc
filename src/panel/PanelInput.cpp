#include "panel/PanelInput.h"

namespace panel {

namespace {
int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}
} // namespace

AddressEntry addressFromText(std::string_view typed) {
    if (typed.empty() || typed == " ") return AddressEntry{true, std::string(1, '0'), 0};
    AddressEntry e;
    int value = 0;
    for (const char c : typed) {
        if (c < '0' || c > '9') return e;
        // Saturates: any number of digits ends at the maximum without overflowing.
        value = value > MaxAddress ? value : value * 10 + (c - '0');
    }
    e.accepted = true;
    if (value > MaxAddress) {
        e.value = MaxAddress;
        e.text = std::to_string(MaxAddress);
    } else {
        e.value = value;
        e.text = std::string(typed);
    }
    return e;
}

DataEntry dataFromHexText(std::string_view typed) {
    DataEntry e;
    if (typed.size() > 2) return e;
    int value = 0;
    for (const char c : typed) {
        const int d = hexDigit(c);
        if (d < 0) return e;
        value = value * 16 + d;
    }
    e.accepted = true;
    e.value = value;
    return e;
}

} // namespace panel
