#pragma once
#include "timing/modTimerExact.h"
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace timing {

// Periodic timers on threads of their own: each timer runs a loop that waits for its next
// due time on the steady clock and calls the timer's procedure once for every period that
// passed (TickPacer), so a loop held back by a busy machine catches up at its next wake-up
// and the calls never fall behind real time. timeKillEvent joins the timer's thread: once
// it returns, no call of that timer runs or will run.
class ThreadTimerSource : public PeriodicTimerSource {
public:
    ThreadTimerSource() = default;
    ThreadTimerSource(const ThreadTimerSource&) = delete;
    ThreadTimerSource& operator=(const ThreadTimerSource&) = delete;
    ~ThreadTimerSource() override;

    // Ids count up from 1; 0 when delayMs < 1, proc is null or no thread could be started.
    uint32_t timeSetEvent(int delayMs, int resolutionMs, Proc proc, void* user) override;
    // Unknown ids are ignored. Called from the timer's own procedure it stops the timer
    // after the current call; the thread is joined later by this object.
    void timeKillEvent(uint32_t id) override;

    // Number of timers running.
    int active() const;

private:
    struct Timer {
        Proc proc = nullptr;
        void* user = nullptr;
        int periodMs = 1;
        std::mutex mutex;
        std::condition_variable wake;
        bool stop = false;
        std::thread thread;
    };

    static void run(Timer& timer);
    static void dispose(std::unique_ptr<Timer> timer);
    void reapFinished();

    mutable std::mutex mutex_;
    std::map<uint32_t, std::unique_ptr<Timer>> timers_;
    // Timers stopped from their own procedure, waiting to be joined.
    std::vector<std::unique_ptr<Timer>> finished_;
    uint32_t nextId_ = 1;
};

} // namespace timing
