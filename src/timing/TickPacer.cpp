#include "timing/TickPacer.h"

namespace timing {

void TickPacer::start(int64_t nowUs) {
    startUs_ = nowUs;
    delivered_ = 0;
}

int64_t TickPacer::due(int64_t nowUs) {
    const int64_t owed = nowUs > startUs_ ? (nowUs - startUs_) / periodUs_ : 0;
    if (owed <= delivered_) return 0; // a clock read that went back owes nothing
    const int64_t ticks = owed - delivered_;
    delivered_ = owed;
    return ticks;
}

} // namespace timing
