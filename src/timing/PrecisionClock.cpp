#include "timing/PrecisionClock.h"

namespace timing {

namespace {
constexpr auto relaxed = std::memory_order_relaxed;
}

// Every limit is tested with >= rather than == so that a field some reader left out of its
// range (the battery window formats times in these fields) is pulled back at the next carry
// instead of counting on for ever; for fields in range the result is the same.
void PrecisionClock::TimerExactProc() noexcept {
    int32_t tick = TickCounter.load(relaxed) + 1;
    if (tick >= TickWrap || tick < 0) tick = 0;
    TickCounter.store(tick, relaxed);

    int32_t ms = ClockMs.load(relaxed) + 1;
    if (ms >= 10) {
        ms = 0;
        ClockCs.store(ClockCs.load(relaxed) + 1, relaxed);
    }
    ClockMs.store(ms, relaxed);

    if (ClockCs.load(relaxed) < 100) return;
    ClockCs.store(0, relaxed);
    const int32_t sec = ClockSec.load(relaxed) + 1;
    if (sec < 60) {
        ClockSec.store(sec, relaxed);
        return;
    }
    ClockSec.store(0, relaxed);
    const int32_t min = ClockMin.load(relaxed) + 1;
    ClockMin.store(min >= 60 ? 0 : min, relaxed);
}

void PrecisionClock::resetAll() noexcept {
    TickCounter.store(0, relaxed);
    resetClock();
}

void PrecisionClock::resetClock() noexcept {
    ClockCs.store(0, relaxed);
    ClockMs.store(0, relaxed);
    ClockSec.store(0, relaxed);
    ClockMin.store(0, relaxed);
}

} // namespace timing
