#include "coil/CoilEntry.h"
#include <algorithm>

namespace coil {

namespace {
constexpr int kMaxVR = 8000;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool allDigits(std::string_view t) {
    return std::all_of(t.begin(), t.end(), isDigit);
}

// The text after the key, with the caret after what was put in; nothing for a key that
// changes nothing (backspace at the start).
std::optional<Result> applyKey(std::string_view text, Edit edit, char key) {
    const int size = static_cast<int>(text.size());
    int from = std::clamp(edit.selStart, 0, size);
    int to = std::clamp(edit.selStart + std::max(0, edit.selLength), from, size);
    std::string insert;
    if (key == Backspace || key == Delete) {
        if (from == to) {
            if (key == Backspace && from > 0)
                --from;
            else if (key == Delete && to < size)
                ++to;
            else
                return std::nullopt;
        }
    } else {
        insert.assign(1, key);
    }
    Result r;
    r.text = std::string(text.substr(0, static_cast<std::size_t>(from))) + insert +
             std::string(text.substr(static_cast<std::size_t>(to)));
    r.caret = from + static_cast<int>(insert.size());
    r.accepted = true;
    return r;
}

Result refused(std::string_view text, Edit edit) {
    return {false, std::string(text), edit.selStart};
}

template <class Valid> Result checked(std::string_view text, Edit edit, char key, Valid valid) {
    if (!isDigit(key) && key != Backspace && key != Delete) return refused(text, edit);
    const std::optional<Result> r = applyKey(text, edit, key);
    if (!r || !valid(r->text)) return refused(text, edit);
    return *r;
}
} // namespace

std::optional<int> wholeValue(std::string_view text) {
    if (text.empty() || text.size() > 6 || !allDigits(text)) return std::nullopt;
    return std::stoi(std::string(text));
}

std::optional<int> tenthsValue(std::string_view text) {
    const auto comma = text.find(',');
    const std::string_view whole = text.substr(0, comma);
    const std::string_view tenth =
        comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    if (whole.size() > 4 || tenth.size() > 1 || !allDigits(whole) || !allDigits(tenth))
        return std::nullopt;
    if (whole.empty() && tenth.empty()) return std::nullopt;
    const int units = whole.empty() ? 0 : std::stoi(std::string(whole));
    return units * 10 + (tenth.empty() ? 0 : tenth[0] - '0');
}

bool validVR(std::string_view text) {
    if (text.empty()) return true;
    if (text.size() > 4) return false;
    const std::optional<int> v = wholeValue(text);
    return v && *v >= 1 && *v <= kMaxVR;
}

bool validRPerc(std::string_view text) {
    if (text.size() > 3 || !allDigits(text)) return false;
    return text.size() < 3 || text == "100";
}

bool validTenths(std::string_view text, int maxRaw) {
    if (text.empty()) return true;
    if (std::count(text.begin(), text.end(), ',') > 1) return false;
    const std::optional<int> v = tenthsValue(text);
    return v && *v <= maxRaw;
}

Result keyVR(std::string_view text, Edit edit, char key) {
    return checked(text, edit, key, [](std::string_view t) { return validVR(t); });
}

Result keyRPerc(std::string_view text, Edit edit, char key) {
    return checked(text, edit, key, [](std::string_view t) { return validRPerc(t); });
}

Result keyTenths(std::string_view text, Edit edit, char key, int maxRaw) {
    const auto valid = [maxRaw](std::string_view t) { return validTenths(t, maxRaw); };
    if (key == '.') key = ',';
    if (key != ',') return checked(text, edit, key, valid);
    std::optional<Result> r = applyKey(text, edit, key);
    if (!r) return refused(text, edit);
    if (r->text.front() == ',') {
        r->text.insert(0, 1, '0');
        ++r->caret;
    }
    if (!valid(r->text)) return refused(text, edit);
    return *r;
}

} // namespace coil
