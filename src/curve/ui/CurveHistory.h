#pragma once
#include "curve/CurveModel.h"
#include <QUndoCommand>
#include <array>
#include <functional>
#include <utility>

namespace curve {

// One step of the graph's history: the three curves before and after it. The press and
// the release of one gesture (a drag on an empty curve) merge into one step.
class CurveEdit : public QUndoCommand {
public:
    using Apply = std::function<void(const Curves&, int)>;
    CurveEdit(Apply apply, const Curves& before, const Curves& after, int curve, int gesture)
        : apply_(std::move(apply)), before_(before), after_(after), curve_(curve),
          gesture_(gesture) {}
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* o = static_cast<const CurveEdit*>(other);
        if (gesture_ == 0 || o->gesture_ != gesture_) return false;
        after_ = o->after_;
        return true;
    }
    void undo() override { apply_(before_, curve_); }
    void redo() override {
        // Pushed once the edit is done: the first redo has nothing to do.
        if (!std::exchange(pushed_, true)) return;
        apply_(after_, curve_);
    }

private:
    Apply apply_;
    Curves before_;
    Curves after_;
    int curve_;
    int gesture_;
    bool pushed_ = false;
};

} // namespace curve
