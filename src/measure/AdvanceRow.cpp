#include "measure/AdvanceRow.h"

#include "measure/RowReader.h"
#include "protocol/MeasurementRow.h"

#include <algorithm>

using namespace protocol;

namespace measure {

namespace {

void putField(std::string& row, int firstCol, int width, std::string_view text) {
    text = text.substr(0, std::min(text.size(), static_cast<std::size_t>(width)));
    row.replace(static_cast<std::size_t>(firstCol - 1 + width) - text.size(), text.size(), text);
}

int64_t ticksOf(std::string_view row, RowColumn column) {
    return microsToTicks(readMillis(rowField(row, column)).value_or(0));
}

} // namespace

uint32_t advanceTicks(uint32_t ta, uint32_t tss) {
    return std::min(ta - std::min(tss, ta), kAdvanceTicksMax);
}

int64_t advanceTenths(uint32_t tAnt, uint32_t tc) {
    if (tc == 0) return 0;
    return (int64_t{3600} * tAnt * 2 + tc) / (int64_t{2} * tc);
}

std::string advanceRow(std::string_view rotationRow, uint32_t ta, uint32_t tss, uint32_t tc) {
    std::string row(kAdvanceRowLength, ' ');
    putField(row, 1, 6, rowField(rotationRow, RigaColumn));
    putField(row, 8, 6, rowField(rotationRow, RotColumn));
    const uint32_t tAnt = advanceTicks(ta, tss);
    if (tAnt > 0 && tc > 0) {
        const int64_t tenths = advanceTenths(tAnt, tc);
        putField(row, 15, 5, std::to_string(tenths / 10) + '.' + std::to_string(tenths % 10));
        putField(row, 21, 6, formatMillis(ticksToMicros(tAnt)));
    }
    putField(row, 28, 9, rowField(rotationRow, TcColumn));
    putField(row, 38, 13, rowField(rotationRow, TempoColumn));
    return row;
}

std::string advanceRowFromText(std::string_view rotationRow) {
    const auto ticks = [&](RowColumn c) { return static_cast<uint32_t>(ticksOf(rotationRow, c)); };
    return advanceRow(rotationRow, ticks(TaColumn), ticks(TssColumn), ticks(TcColumn));
}

std::optional<AdvancePoint> advancePoint(std::string_view advanceRow) {
    if (advanceRow.size() < 19) return std::nullopt;
    const std::string_view ant = advanceRow.substr(14, 5); // "##0.0"
    if (ant[3] != '.' || ant[4] < '0' || ant[4] > '9') return std::nullopt;
    const auto whole = readInteger(ant.substr(0, 3));
    const auto rpm = readInteger(advanceRow.substr(7, 6));
    if (!whole || !rpm) return std::nullopt;
    return AdvancePoint{*rpm, *whole * 10 + (ant[4] - '0')};
}

} // namespace measure
