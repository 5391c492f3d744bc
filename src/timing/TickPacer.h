#pragma once
#include <cstdint>

namespace timing {

// Keeps a periodic tick in step with a monotonic clock: a wake-up that comes late is owed
// every period that passed, so the count never falls behind real time, however busy the
// machine. Times are microseconds of a monotonic clock, passed in.
class TickPacer {
public:
    explicit TickPacer(int64_t periodUs) : periodUs_(periodUs > 0 ? periodUs : 1) {}

    // Counting starts at nowUs; the first tick falls due one period later.
    void start(int64_t nowUs);
    // The ticks that fell due since the last call (0 when none did, never negative).
    int64_t due(int64_t nowUs);
    // When the next tick falls due.
    int64_t nextDueUs() const { return startUs_ + (delivered_ + 1) * periodUs_; }
    int64_t delivered() const { return delivered_; }

private:
    int64_t periodUs_;
    int64_t startUs_ = 0;
    int64_t delivered_ = 0;
};

} // namespace timing
