#include "curve/CurveEditorState.h"
#include "base/MenuCaptions.h"
#include "base/NumberFormat.h"
#include "curve/CurveEditing.h"
#include <cmath>

using namespace base;

namespace curve {

CurveEditorEnables CurveEditorState::enables() const {
    CurveEditorEnables e;
    const bool idle = !transferring;
    const bool clearable = hasSegment[static_cast<size_t>(selected)] && !locked;
    e.ComSalva = idle && (fromFile || edited);
    e.ComCancella = idle && clearable;
    e.ComAnnulla = idle && clearable;
    for (int c = 0; c < CurveCount; ++c)
        e.ComCrva[static_cast<size_t>(c)] =
            idle && c != selected && hasSegment[static_cast<size_t>(c)];
    e.ComApplica = false;
    e.ComNote = idle;
    // A file opened untouched may go to the unit as it is; once edited, curve 1 or 2 must
    // have a segment. Programming switched on can always be switched off.
    e.ComProg = progAsked || (fromFile && !edited) || hasSegment[1] || hasSegment[2];
    e.ComProgMaster = programming && progAsked && transferable() && idle;
    e.ComProgSlave = e.ComProgMaster;
    e.Picture1 = idle;
    e.TextVRM = idle;
    e.ComboCA = idle;
    return e;
}

std::string CurveEditorState::showCaption(int c) const {
    return (shownBeside[static_cast<size_t>(c)] ? "CANC " : "AGG ") + std::to_string(c);
}

Readout readoutAt(const Curve& selected, double x, double y) {
    Readout r;
    r.rpm = cursorRpm(x);
    r.degrees = (GraphY0 - y) * 10 / TwipsPer10Deg;
    r.count = std::lround(advanceCount(r.degrees, r.rpm));
    r.stored = tableCount(selected.CurveTable, RpmToTableIndex(static_cast<float>(r.rpm)));
    return r;
}

std::string readoutText(const Readout& r, int langOffset) {
    return designText("curveReadout", langOffset,
                      {base::withUnit(base::integer(r.rpm, langOffset), base::rpmUnit(langOffset)),
                       base::number(r.degrees, 1, langOffset), base::integer(r.count, langOffset),
                       base::integer(r.stored, langOffset)});
}

} // namespace curve
