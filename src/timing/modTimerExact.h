#pragma once
#include "timing/PrecisionClock.h"
#include <cstdint>

namespace timing {

// A periodic timer of the platform: calls proc(user) every delayMs on a thread of its own.
class PeriodicTimerSource {
public:
    using Proc = void (*)(void* user);
    virtual ~PeriodicTimerSource() = default;
    // Returns the timer's id, 0 when it could not be created.
    virtual uint32_t timeSetEvent(int delayMs, int resolutionMs, Proc proc, void* user) = 0;
    // After it returns no callback of that timer runs.
    virtual void timeKillEvent(uint32_t id) = 0;
};

// The program's one precision timer. Every window's start and stop wrappers use this
// object, so at most one timer runs and any stop ends the one that runs.
class modTimerExact {
public:
    modTimerExact(PrecisionClock& clock, PeriodicTimerSource& source)
        : clock_(clock), source_(source) {}
    ~modTimerExact() { StopTimer1(); }

    uint32_t TimerExactID = 0; // 0: no timer runs

    void StartTimer1(int delayMs = 1, int resolutionMs = 0);
    void StopTimer1();
    bool running() const { return TimerExactID != 0; }
    PrecisionClock& clock() { return clock_; }

private:
    static void TimerExactProc(void* user);
    PrecisionClock& clock_;
    PeriodicTimerSource& source_;
};

} // namespace timing
