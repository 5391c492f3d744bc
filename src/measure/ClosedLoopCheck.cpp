#include "measure/ClosedLoopCheck.h"
#include "base/MenuCaptions.h"
#include "base/NumberFormat.h"
#include <cstdio>

using namespace base;

namespace measure {

void ClosedLoopCheck::setReference(const curve::Table& table) {
    reference_ = table;
    restart();
}

void ClosedLoopCheck::restart() {
    summary_ = {};
    differences_.clear();
}

void ClosedLoopCheck::compareNew(const RowSource& rotationRows) {
    if (!reference_) return;
    for (std::size_t i = differences_.size(); i < rotationRows.size(); ++i) {
        const std::string advance = advanceRowFromText(rotationRows.row(i));
        const std::string_view row = advance;
        const std::optional<double> difference = summary_.add(row, *reference_);
        std::string text(row.substr(0, 19)); // Riga, Rot, Ant
        if (difference) {
            char fields[32];
            const double measured = static_cast<double>(advancePoint(row)->tenths) / 10.0;
            std::snprintf(fields, sizeof fields, " %5.1f %+6.2f", measured - *difference,
                          *difference);
            text += fields;
        }
        differences_.append(text);
    }
}

std::string ClosedLoopCheck::summaryText(int langOffset) const {
    if (!reference_) return {};
    if (summary_.compared == 0) return designCaption("checkNothingToCompare", langOffset);
    return designText(
        "checkLargest", langOffset,
        {(summary_.largest >= 0 ? "+" : "") + base::number(summary_.largest, 2, langOffset),
         base::withUnit(base::integer(summary_.rpmOfLargest, langOffset),
                        base::rpmUnit(langOffset)),
         base::integer(static_cast<long long>(summary_.compared), langOffset)});
}

} // namespace measure
