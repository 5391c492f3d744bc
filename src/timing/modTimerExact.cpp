#include "timing/modTimerExact.h"

namespace timing {

void modTimerExact::StartTimer1(int delayMs, int resolutionMs) {
    // A second start must not leave the first timer running unseen.
    if (TimerExactID != 0) StopTimer1();
    // A failed creation returns 0: no timer runs and the counters stay where they are.
    TimerExactID =
        source_.timeSetEvent(delayMs, resolutionMs, &modTimerExact::TimerExactProc, this);
}

void modTimerExact::StopTimer1() {
    if (TimerExactID == 0) return;
    source_.timeKillEvent(TimerExactID);
    TimerExactID = 0;
}

void modTimerExact::TimerExactProc(void* user) {
    static_cast<modTimerExact*>(user)->clock_.TimerExactProc();
}

} // namespace timing
