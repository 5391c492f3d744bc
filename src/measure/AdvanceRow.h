#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace measure {

// The 51-column advance row of one revolution:
//
//  cols  1-6  Riga  the rotation row's number   cols 21-26 TAnt advance time "#0.##0" ms
//  cols  8-13 Rot   the rotation row's rpm      cols 28-36 Tc   the rotation row's Tc
//  cols 15-19 Ant   advance "##0.0" degrees     cols 38-50 Tempo the rotation row's time
//  col  51    a blank
// Ant and TAnt are blank when the advance time is not above 0.

inline constexpr int kAdvanceRowLength = 51;
inline constexpr std::string_view kAdvanceHeader =
    " Riga    Rot   Ant   TAnt      Tc      Tempo      ";
// The advance time is limited to 38.4 ms.
inline constexpr uint32_t kAdvanceTicksMax = 24'000;

// TAnt in ticks of 1.6 us: Ta - Tss with Tss first limited to Ta, then at most 24,000.
uint32_t advanceTicks(uint32_t ta, uint32_t tss);
// The advance angle in tenths of a degree, 3600 x tAnt / tc rounded; 0 when tc is 0.
int64_t advanceTenths(uint32_t tAnt, uint32_t tc);

// The advance row of a 95-column rotation row whose Ta, Tss and Tc (ticks) are known.
std::string advanceRow(std::string_view rotationRow, uint32_t ta, uint32_t tss, uint32_t tc);
// The advance row rebuilt from a stored rotation row: Ta, Tss and Tc read back from its
// columns (a blank or unreadable time counts as 0).
std::string advanceRowFromText(std::string_view rotationRow);

// Tick count of a time read back in whole microseconds (the row rounds 1.6 x ticks).
constexpr int64_t microsToTicks(int64_t micros) {
    return micros >= 0 ? (micros * 10 + 8) / 16 : 0;
}

// What the diagram plots of an advance row: speed and advance; nothing when Ant is blank.
struct AdvancePoint {
    int64_t rpm = 0;
    int64_t tenths = 0; // tenths of a degree
};
std::optional<AdvancePoint> advancePoint(std::string_view advanceRow);

} // namespace measure
