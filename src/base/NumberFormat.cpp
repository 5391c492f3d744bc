#include "base/NumberFormat.h"

#include <cmath>
#include <cstdio>

namespace base {

namespace {

bool english(int langOffset) {
    return langOffset >= 200;
}

// Groups the digits of a non-negative integer text in threes.
std::string grouped(const std::string& digits, char separator) {
    std::string out;
    const size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += separator;
        out += digits[i];
    }
    return out;
}

} // namespace

std::string number(double value, int decimals, int langOffset) {
    if (!std::isfinite(value)) return "-";
    if (decimals < 0) decimals = 0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, std::fabs(value));
    std::string text(buf);
    const size_t dot = text.find('.');
    const std::string whole = text.substr(0, dot);
    const std::string fraction = dot == std::string::npos ? std::string() : text.substr(dot + 1);
    const bool en = english(langOffset);
    std::string out = grouped(whole, en ? ',' : '.');
    if (!fraction.empty()) out += (en ? '.' : ',') + fraction;
    // "-0,00" reads as a fault: only a value that shows a digit other than 0 keeps its sign.
    if (value < 0 && out.find_first_of("123456789") != std::string::npos)
        out.insert(out.begin(), '-');
    return out;
}

std::string integer(long long value, int langOffset) {
    const bool negative = value < 0;
    const unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value)
                                                  : static_cast<unsigned long long>(value);
    std::string out = grouped(std::to_string(magnitude), english(langOffset) ? ',' : '.');
    return negative ? "-" + out : out;
}

std::string withUnit(const std::string& number, const std::string& unit) {
    return number + " " + unit;
}

const char* rpmUnit(int langOffset) {
    return english(langOffset) ? "rpm" : "giri/min";
}

} // namespace base
