#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace panel {

// The time bases of the battery trace and the texts the window shows.

struct TimeBase {
    int32_t ms;        // time per grid division
    const char* label; // LabTempoDivVal
};

// HScrollTempoDiv positions 0..12.
inline constexpr std::array<TimeBase, 13> TimeBases{{
    {26, "26 ms"},
    {100, "100 ms"},
    {200, "200 ms"},
    {300, "300 ms"},
    {500, "500 ms"},
    {1000, "1 s"},
    {2000, "2 s"},
    {3000, "3 s"},
    {5000, "5 s"},
    {10000, "10 s"},
    {20000, "20 s"},
    {30000, "30 s"},
    {60000, "1 m"},
}};
inline constexpr int LastTimeBase = static_cast<int>(TimeBases.size()) - 1;

// A scroll position from the settings file held within 0..12.
int clampTimeBase(int position);

// Numbers in the language of the string table half in use (LangOffset: 0 Italian, 200
// English).

// A time in milliseconds as minutes, seconds and hundredths, "mm:ss,cc" (each field at
// least two digits): 83456 -> "01:23,45", in English "01:23.45".
std::string formatTime(uint32_t ms, int langOffset);
// What the time labels' tooltip says of their format:
// "mm:ss,cc (minuti, secondi, centesimi)", "mm:ss.cc (minutes, seconds, hundredths)".
std::string timeFormatText(int langOffset);

// A raw voltage in hundredths of a volt as volts with two decimals and the unit:
// 1259 -> "12,59 V" ("12.59 V"), 5 -> "0,05 V".
std::string formatVolts(int raw, int langOffset);
// The engine speed as the decoder hands it over (digits, perhaps grouped) with the unit:
// "3,000" -> "3.000 giri/min" ("3,000 rpm").
std::string revolutionsText(const std::string& decoded, int langOffset);

} // namespace panel
