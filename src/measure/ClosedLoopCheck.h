#pragma once
#include "curve/CurveModel.h"
#include "measure/ClosedLoop.h"
#include "measure/RowStore.h"
#include <optional>
#include <string>
#include <string_view>

namespace measure {

// The difference rows of the check (ListScarti): Riga, Rot and Ant of the advance row, the
// programmed advance "##0.0" and the difference "+#0.00" in degrees (blank where there is
// none to compare).
inline constexpr int kDifferenceRowLength = 32;

// The advance window's check as the rows come in: each advance row compared once with the
// curve set, its difference row kept, the summary brought on.
class ClosedLoopCheck {
public:
    // A new curve to compare with: every row is compared again.
    void setReference(const curve::Table& table);
    // The measurement starts over; the curve stays.
    void restart();
    const std::optional<curve::Table>& reference() const { return reference_; }
    // Compares the rows from the first not yet compared on: their advance rows (as the
    // rotation rows give them) with the curve.
    void compareNew(const RowSource& rotationRows);
    const ClosedLoopSummary& summary() const { return summary_; }
    const RowStore& differences() const { return differences_; }
    // "Scarto massimo +1,25 gradi a 1.500 giri/min (12 punti)" in the language; empty before a
    // curve is set.
    std::string summaryText(int langOffset) const;

private:
    std::optional<curve::Table> reference_;
    ClosedLoopSummary summary_;
    RowStore differences_{kDifferenceRowLength};
};

} // namespace measure
