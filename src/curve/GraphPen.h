#pragma once
#include "curve/CurveModel.h"
#include <array>
#include <optional>

namespace curve {

// The mouse on the curve editor's graph, in twips of the picture: a press places the first
// point of an empty curve or adds the next one, a drag shows a dotted line from the last
// point, the release adds the point under it. The press and release of one gesture make one
// step of the editor's history.

struct GraphPos {
    double x = 0;
    double y = 0;
};

class GraphPen {
public:
    struct Step {
        bool inside = false; // in the hit area: the read-out follows the cursor
        bool edited = false; // a segment was added: one step from before() in gesture()
        bool redraw = false;
    };
    // selected: the curve drawn; locked: a locked document takes no points.
    Step press(Curves& curves, int selected, bool locked, double x, double y);
    Step move(const Curves& curves, int selected, double x, double y);
    Step release(Curves& curves, int selected, bool locked, double x, double y);
    // The pen lifted without a point (another curve chosen, the history applied).
    void lift();

    bool down() const { return down_; }
    // The dotted line's end while the pen is down and right of the last point.
    const std::optional<GraphPos>& rubberEnd() const { return rubberEnd_; }
    // The gesture in hand, counted from 1; 0 is no gesture (a step of its own).
    int gesture() const { return gesture_; }
    // The curves when the gesture's press began.
    const Curves& before() const { return before_; }

private:
    bool down_ = false;
    std::optional<GraphPos> rubberEnd_;
    int gesture_ = 0;
    Curves before_{};
};

} // namespace curve
