#pragma once
#include "timing/modTimerExact.h"
#include <cstdint>
#include <map>

using namespace timing;

// A periodic timer that never runs by itself: the test fires it. Ids count from 1.
class FakeTimerSource : public PeriodicTimerSource {
public:
    struct Timer {
        int delayMs;
        int resolutionMs;
        Proc proc;
        void* user;
    };
    std::map<uint32_t, Timer> live; // timers set and not yet killed
    int killCalls = 0;
    bool fail = false; // timeSetEvent fails (returns 0)

    uint32_t timeSetEvent(int delayMs, int resolutionMs, Proc proc, void* user) override {
        if (fail) return 0;
        live[nextId_] = {delayMs, resolutionMs, proc, user};
        return nextId_++;
    }
    void timeKillEvent(uint32_t id) override {
        ++killCalls;
        live.erase(id);
    }
    // Runs every live timer's callback n times.
    void fire(int n = 1) {
        for (int i = 0; i < n; ++i)
            for (const auto& [id, t] : live)
                t.proc(t.user);
    }

private:
    uint32_t nextId_ = 1;
};
