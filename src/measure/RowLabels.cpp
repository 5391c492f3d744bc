#include "measure/RowLabels.h"
#include "base/NumberFormat.h"
#include "measure/RowReader.h"
#include "protocol/MeasurementRow.h"

RowLabels rowLabels(std::string_view row, int langOffset) {
    RowLabels labels;
    const std::string_view number = rowField(row, rowcol::Riga);
    const size_t first = number.find_first_not_of(' ');
    if (first != std::string_view::npos) labels.number = std::string(number.substr(first));
    labels.time = std::string(rowField(row, rowcol::Tempo));
    if (const auto rpm = readInteger(rowField(row, rowcol::Rot)))
        labels.speed =
            numfmt::withUnit(numfmt::integer(*rpm, langOffset), numfmt::rpmUnit(langOffset));
    return labels;
}
