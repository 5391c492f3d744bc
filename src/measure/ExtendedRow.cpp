#include "measure/ExtendedRow.h"
#include "measure/RowReader.h"
#include "protocol/MeasurementRow.h"
#include <cstdlib>

using namespace protocol;

namespace measure {

namespace {

void copyColumns(std::string& out, int toFirst, std::string_view row, int fromFirst, int width) {
    const std::string_view part = rowField(row, {fromFirst, width});
    out.replace(static_cast<size_t>(toFirst - 1), part.size(), part);
}

// Right-aligned in the columns first..first+width-1.
void putField(std::string& out, int first, int width, const std::string& text) {
    const int n = static_cast<int>(text.size());
    if (n <= width + 1) {
        out.replace(static_cast<size_t>(first - 1 + width - n), text.size(), text);
        return;
    }
    out.replace(static_cast<size_t>(first - 1), static_cast<size_t>(width),
                static_cast<size_t>(width), '*');
}

// Tenths of a degree as "#0.0".
std::string tenthsText(int64_t tenths) {
    return std::to_string(tenths / 10) + kDecimalSeparator + std::to_string(tenths % 10);
}

} // namespace

std::string extendedRow(std::string_view row) {
    std::string out(kExtendedRowLength, ' ');
    copyColumns(out, 1, row, 1, 51);
    copyColumns(out, 60, row, 52, 17);
    copyColumns(out, 91, row, 83, 13);
    const std::optional<RowValues> v = readRow(row);
    if (!v) return out;

    putField(out, 52, 7, formatMillis((v->Tb * 45 + 157) / 315));
    const int64_t diff = v->Ta - v->Tss;
    std::string tant = formatMillis(std::llabs(diff));
    if (diff > 0) tant.insert(tant.begin(), '+');
    if (diff < 0) tant.insert(tant.begin(), '-');
    putField(out, 78, 6, tant);
    const int64_t tc = v->Tc();
    if (tc > 0) putField(out, 85, 4, tenthsText((3600 * std::llabs(diff) + tc / 2) / tc));
    return out;
}

} // namespace measure
