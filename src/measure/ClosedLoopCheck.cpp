#include "measure/ClosedLoopCheck.h"
#include "base/MenuCaptions.h"
#include "base/NumberFormat.h"
#include <cstdio>

namespace closedloop {

void Check::setReference(const curve::Table& table) {
    reference_ = table;
    restart();
}

void Check::restart() {
    summary_ = {};
    differences_.clear();
}

void Check::compareNew(const RowSource& rotationRows) {
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

std::string Check::summaryText(int langOffset) const {
    if (!reference_) return {};
    if (summary_.compared == 0) return designCaption("checkNothingToCompare", langOffset);
    return designText(
        "checkLargest", langOffset,
        {(summary_.largest >= 0 ? "+" : "") + numfmt::number(summary_.largest, 2, langOffset),
         numfmt::withUnit(numfmt::integer(summary_.rpmOfLargest, langOffset),
                          numfmt::rpmUnit(langOffset)),
         numfmt::integer(static_cast<long long>(summary_.compared), langOffset)});
}

} // namespace closedloop
