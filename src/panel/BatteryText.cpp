#include "panel/BatteryText.h"
#include "base/NumberFormat.h"
#include <algorithm>

namespace panel {

namespace {
std::string twoDigits(uint32_t v) {
    std::string s = std::to_string(v);
    if (s.size() < 2) s.insert(0, 2 - s.size(), '0');
    return s;
}

std::string decimalSeparator(int langOffset) {
    return langOffset == 200 ? "." : ",";
}
} // namespace

int clampTimeBase(int position) {
    return std::clamp(position, 0, LastTimeBase);
}

std::string formatTime(uint32_t ms, int langOffset) {
    const uint32_t seconds = ms / 1000;
    const uint32_t minutes = seconds / 60;
    const uint32_t hundredths = (ms % 1000) / 10;
    return twoDigits(minutes) + ":" + twoDigits(seconds % 60) + decimalSeparator(langOffset) +
           twoDigits(hundredths);
}

std::string timeFormatText(int langOffset) {
    const std::string format = "mm:ss" + decimalSeparator(langOffset) + "cc";
    if (langOffset == 200) return format + " (minutes, seconds, hundredths)";
    return format + " (minuti, secondi, centesimi)";
}

std::string formatVolts(int raw, int langOffset) {
    return base::withUnit(base::number(raw / 100.0, 2, langOffset), "V");
}

std::string revolutionsText(const std::string& decoded, int langOffset) {
    long long rpm = 0;
    for (char c : decoded)
        if (c >= '0' && c <= '9') rpm = rpm * 10 + (c - '0');
    return base::withUnit(base::integer(rpm, langOffset), base::rpmUnit(langOffset));
}

} // namespace panel
