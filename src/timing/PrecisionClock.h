#pragma once
#include <atomic>
#include <cstdint>

namespace timing {

// The shared 1 ms time base: a free-running tick counter and a minutes / seconds /
// hundredths / milliseconds clock. Advanced by TimerExactProc on the timer thread, read
// and reset by the user-interface thread and read by the MIDI input callback; every field
// is one 32-bit value accessed whole (relaxed atomics).
class PrecisionClock {
public:
    static constexpr int32_t TickWrap = 50'000'000;

    std::atomic<int32_t> TickCounter{0};
    std::atomic<int32_t> ClockCs{0};
    std::atomic<int32_t> ClockMs{0};
    std::atomic<int32_t> ClockSec{0};
    std::atomic<int32_t> ClockMin{0};

    // One period of the time base: a handful of arithmetic steps, no allocation.
    void TimerExactProc() noexcept;
    // Zeroes all five counters (battery recording start).
    void resetAll() noexcept;
    // Zeroes the four clock fields (rotation and advance measurement start).
    void resetClock() noexcept;
};

} // namespace timing
