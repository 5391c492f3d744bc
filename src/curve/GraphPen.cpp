#include "curve/GraphPen.h"
#include "curve/CurveEditing.h"

namespace curve {

GraphPen::Step GraphPen::press(Curves& curves, int selected, bool locked, double x, double y) {
    Step s;
    s.inside = inHitArea(x, y);
    if (!s.inside || locked) return s;
    const Curves before = curves;
    const Edit result = pressAt(curves[static_cast<size_t>(selected)], x, y);
    if (result == Edit::Ignored) return s;
    ++gesture_;
    before_ = before;
    down_ = true;
    rubberEnd_.reset();
    s.edited = result == Edit::Added;
    s.redraw = true;
    return s;
}

GraphPen::Step GraphPen::move(const Curves& curves, int selected, double x, double y) {
    Step s;
    s.inside = inHitArea(x, y);
    if (!s.inside || !down_) return s;
    const Curve& cur = curves[static_cast<size_t>(selected)];
    if (x >= GraphX0 + cur.points[static_cast<size_t>(cur.CurveLastPoint)].x) {
        rubberEnd_ = GraphPos{x, y};
        s.redraw = true;
    }
    return s;
}

GraphPen::Step GraphPen::release(Curves& curves, int selected, bool locked, double x, double y) {
    Step s;
    if (!down_) return s;
    s.inside = inHitArea(x, y);
    if (!s.inside) return s;
    lift();
    s.redraw = true;
    if (!locked) s.edited = releaseAt(curves[static_cast<size_t>(selected)], x, y) == Edit::Added;
    return s;
}

void GraphPen::lift() {
    down_ = false;
    rubberEnd_.reset();
}

} // namespace curve
