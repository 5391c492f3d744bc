#include "panel/BatteryText.h"
#include <algorithm>
#include <cstdlib>

namespace battery_text {

namespace {
std::string twoDigits(uint32_t v) {
    std::string s = std::to_string(v);
    if (s.size() < 2) s.insert(0, 2 - s.size(), '0');
    return s;
}
} // namespace

int clampTimeBase(int position) {
    return std::clamp(position, 0, LastTimeBase);
}

std::string formatTime(uint32_t ms, const std::string& decimalSeparator) {
    const uint32_t seconds = ms / 1000;
    const uint32_t minutes = seconds / 60;
    const uint32_t hundredths = (ms % 1000) / 10;
    return twoDigits(minutes) + ":" + twoDigits(seconds % 60) + decimalSeparator +
           twoDigits(hundredths);
}

std::string timeFormatText(const std::string& decimalSeparator, int langOffset) {
    const std::string format = "mm:ss" + decimalSeparator + "cc";
    if (langOffset == 200) return format + " (minutes, seconds, hundredths)";
    return format + " (minuti, secondi, centesimi)";
}

std::string formatVolts(int raw, const std::string& decimalSeparator) {
    const long long magnitude = std::llabs(static_cast<long long>(raw));
    std::string cents = std::to_string(magnitude % 100);
    if (cents.size() < 2) cents.insert(0, 1, '0');
    return (raw < 0 ? "-" : "") + std::to_string(magnitude / 100) + decimalSeparator + cents;
}

} // namespace battery_text
