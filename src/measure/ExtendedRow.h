#pragma once
#include <string>
#include <string_view>

namespace measure {

// The extended table's row (103 columns) built from a 95-column measurement row:
//  1-51  the row's columns 1-51 (Riga to Ta)
// 52-58  T45 = Tb x 45 / 315, "##0.##0" ms
// 60-76  the row's columns 52-68 (Tib, Tss)
// 78-83  TAnt = |Ta - Tss|, "#0.##0" ms, "+" in front when Ta > Tss, "-" when less
// 85-88  advance = 360 x |Ta - Tss| / (Ta + Tb) degrees, "#0.0"; blank when Ta + Tb is 0
// 91-103 the row's Tempo (columns 83-95)
// A number wider than its field also takes the blank column before it; wider still, the
// field is filled with "*" rather than show wrong digits.
inline constexpr int kExtendedRowLength = 103;

std::string extendedRow(std::string_view row);

} // namespace measure
