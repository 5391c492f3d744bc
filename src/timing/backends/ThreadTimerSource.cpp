#include "timing/backends/ThreadTimerSource.h"
#include "timing/TickPacer.h"
#include <chrono>
#include <system_error>

namespace timing {

ThreadTimerSource::~ThreadTimerSource() {
    std::map<uint32_t, std::unique_ptr<Timer>> timers;
    std::vector<std::unique_ptr<Timer>> finished;
    {
        std::lock_guard lock(mutex_);
        timers.swap(timers_);
        finished.swap(finished_);
    }
    for (auto& [id, timer] : timers)
        dispose(std::move(timer));
    for (auto& timer : finished)
        dispose(std::move(timer));
}

uint32_t ThreadTimerSource::timeSetEvent(int delayMs, int /*resolutionMs*/, Proc proc, void* user) {
    if (delayMs < 1 || proc == nullptr) return 0;
    reapFinished();

    auto timer = std::make_unique<Timer>();
    timer->proc = proc;
    timer->user = user;
    timer->periodMs = delayMs;

    std::lock_guard lock(mutex_);
    uint32_t id = nextId_;
    while (id == 0 || timers_.count(id) != 0)
        ++id;
    nextId_ = id + 1;
    try {
        Timer& t = *timer;
        timer->thread = std::thread([&t] { run(t); });
    } catch (const std::system_error&) {
        return 0;
    }
    timers_.emplace(id, std::move(timer));
    return id;
}

void ThreadTimerSource::timeKillEvent(uint32_t id) {
    std::unique_ptr<Timer> timer;
    {
        std::lock_guard lock(mutex_);
        auto it = timers_.find(id);
        if (it == timers_.end()) return;
        timer = std::move(it->second);
        timers_.erase(it);
    }
    if (timer->thread.get_id() == std::this_thread::get_id()) {
        // Killed from its own procedure: the loop ends when the procedure returns.
        {
            std::lock_guard lock(timer->mutex);
            timer->stop = true;
        }
        std::lock_guard lock(mutex_);
        finished_.push_back(std::move(timer));
        return;
    }
    dispose(std::move(timer));
}

int ThreadTimerSource::active() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(timers_.size());
}

void ThreadTimerSource::run(Timer& timer) {
    using namespace std::chrono;
    const auto origin = steady_clock::now();
    TickPacer pacer(timer.periodMs * int64_t{1000});
    pacer.start(0);
    std::unique_lock lock(timer.mutex);
    for (;;) {
        const auto wakeAt = origin + microseconds(pacer.nextDueUs());
        if (timer.wake.wait_until(lock, wakeAt, [&] { return timer.stop; })) return;
        const auto now = duration_cast<microseconds>(steady_clock::now() - origin).count();
        for (int64_t ticks = pacer.due(now); ticks > 0; --ticks) {
            lock.unlock();
            timer.proc(timer.user);
            lock.lock();
            if (timer.stop) return;
        }
    }
}

void ThreadTimerSource::dispose(std::unique_ptr<Timer> timer) {
    {
        std::lock_guard lock(timer->mutex);
        timer->stop = true;
    }
    timer->wake.notify_all();
    if (!timer->thread.joinable()) return;
    if (timer->thread.get_id() != std::this_thread::get_id()) {
        timer->thread.join();
        return;
    }
    // Only when this object is destroyed from inside a timer procedure: that loop still
    // returns through its Timer, so the record is left to it.
    timer->thread.detach();
    (void)timer.release();
}

void ThreadTimerSource::reapFinished() {
    std::vector<std::unique_ptr<Timer>> done;
    {
        std::lock_guard lock(mutex_);
        std::vector<std::unique_ptr<Timer>> keep;
        for (auto& timer : finished_) {
            // A timer that stopped itself and is still inside its procedure on this very
            // thread is joined later.
            if (timer->thread.get_id() == std::this_thread::get_id())
                keep.push_back(std::move(timer));
            else
                done.push_back(std::move(timer));
        }
        finished_.swap(keep);
    }
    for (auto& timer : done)
        dispose(std::move(timer));
}

} // namespace timing
