#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace protocol {

// The 95-column measurement row: one engine revolution as the rotation table, the graph,
// the advance table and the .mrot files see it.
//
//  cols  1-6  Riga   row number            cols 44-50 Ta    "#,##0.##0" ms
//  cols  8-13 Rot    rpm "##,##0"          cols 52-60 Tib   "#,##0.##0" ms
//  cols 15-23 Tc     "#,##0.##0" ms        cols 62-68 Tss   "#0.##0" ms
//  cols 25-33 Tb     "#,##0.##0" ms        cols 70-78 A1    "1010 0101"
//  cols 35-42 DTb    sign + "##0.##0" ms   cols 80-81 A2    "A5"
//                                          cols 83-95 Tempo "MM:SS:mmm,uuu"
// Every field is right-aligned in its width and followed by one blank.

inline constexpr int kRowLength = 95;

// The rotation table's header line (96 characters; files keep the first 95).
inline constexpr std::string_view kRotationHeader =
    "   Riga    Rot       Tc        Tb      DTb      Ta       Tib     Tss      A1    A2    Tempo"
    "     ";

// Number separators of the row's formats.
inline constexpr char kThousandsSeparator = ',';
inline constexpr char kDecimalSeparator = '.';

// Column widths of the display strings.
inline constexpr int RigaWidth = 6;
inline constexpr int RotWidth = 6;
inline constexpr int TcWidth = 9;
inline constexpr int TbWidth = 9;
inline constexpr int DTbWidth = 8;
inline constexpr int TaWidth = 7;
inline constexpr int TibWidth = 9;
inline constexpr int TssWidth = 7;
inline constexpr int A1Width = 9;
inline constexpr int A2Width = 2;
inline constexpr int TempoWidth = 13;

// One completed revolution as handed to the measurement windows.
struct MeasurementRow {
    std::string text;  // exactly kRowLength characters
    int64_t rowNo = 0; // the row counter after this revolution
    uint32_t Tb = 0;   // ticks of 1.6 us
    uint32_t Ta = 0;
    uint32_t Tib = 0;
    uint32_t Tss = 0; // already limited to at most Ta
    uint32_t Tc = 0;  // Tb + Ta
    int A1 = 0;       // status bytes, 0-255
    int A2 = 0;
    int64_t elapsedUs = 0; // elapsed time of the measurement including this revolution
};

// Ticks of 1.6 us to whole microseconds (nearest; a tick count times 1.6 never ends in .5).
constexpr int64_t ticksToMicros(int64_t ticks) {
    return ticks >= 0 ? (ticks * 16 + 5) / 10 : -((-ticks * 16 + 5) / 10);
}

// Engine speed of a revolution of tc ticks: 60,000,000 integer-divided by the revolution
// time in whole microseconds; 0 when tc is 0.
constexpr int64_t rpmFromTicks(int64_t tc) {
    const int64_t us = ticksToMicros(tc);
    return us > 0 ? 60'000'000 / us : 0;
}

// "#,##0.##0" of a time in milliseconds given in microseconds (1234567 -> "1,234.567").
std::string formatMillisGrouped(int64_t micros);
// "##0.##0" / "#0.##0": the same without thousands separators (1234 -> "1.234").
std::string formatMillis(int64_t micros);
// "##,##0" (12345 -> "12,345").
std::string formatGrouped(int64_t value);
// DTb: the magnitude as "##0.##0", "-" in front when negative, "+" when positive.
std::string formatSignedMillis(int64_t micros);
// Blanks in front up to width; a text already as wide or wider is returned unchanged.
std::string rightAligned(std::string_view text, int width);
// Eight binary digits, high nibble, a blank, low nibble (0xA5 -> "1010 0101"); 0-255.
std::string binaryByte(int value);
// Two upper-case hexadecimal digits (5 -> "05"); 0-255.
std::string hexByte(int value);
// Elapsed time as minutes (modulo 60), seconds, milliseconds, microseconds:
// 83,456,789 us -> "01:23:456,789".
std::string elapsedText(int64_t micros);

// The fields of one row; the texts are the display strings, already right-aligned.
struct RowFields {
    int64_t rowNo = 0;
    std::string_view RotText, TcText, TbText, DTbText, TaText, TibText, TssText;
    int A1 = 0;
    int A2 = 0;
    int64_t elapsedUs = 0;
};

// Lays out one row into out (resized to kRowLength). Returns false, leaving out unusable,
// when a value does not fit its columns (a row number above 999,999, a display string
// wider than its field, a status byte outside 0-255, a negative time).
bool composeRow(const RowFields& fields, std::string& out);

} // namespace protocol
