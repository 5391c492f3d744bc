#include "measure/RowLabels.h"
#include "base/NumberFormat.h"
#include "measure/RowReader.h"
#include "protocol/MeasurementRow.h"

using namespace base;

namespace measure {

RowLabels rowLabels(std::string_view row, int langOffset) {
    RowLabels labels;
    const std::string_view number = rowField(row, RigaColumn);
    const size_t first = number.find_first_not_of(' ');
    if (first != std::string_view::npos) labels.number = std::string(number.substr(first));
    labels.time = std::string(rowField(row, TempoColumn));
    if (const auto rpm = readInteger(rowField(row, RotColumn)))
        labels.speed = base::withUnit(base::integer(*rpm, langOffset), base::rpmUnit(langOffset));
    return labels;
}

} // namespace measure
