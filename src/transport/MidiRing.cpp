#include "transport/MidiRing.h"

namespace transport {

namespace {
constexpr int next(int i) noexcept {
    return i + 1 == MidiRing::Size ? 0 : i + 1;
}
} // namespace

bool MidiRing::push(uint32_t msg, uint32_t param, uint32_t stamp) noexcept {
    const int i = write_.load(std::memory_order_relaxed);
    const int after = next(i);
    if (after == readSeen_) readSeen_ = read_.load(std::memory_order_acquire);
    if (after == readSeen_) {
        // 31999 unread entries: the oldest are kept, this message is lost.
        overruns_.fetch_add(1, std::memory_order_relaxed);
        gapPending_ = true;
        return false;
    }
    RingMsg_[i] = msg;
    RingParam_[i] = param;
    RingTime_[i] = stamp;
    RingGap_[i] = gapPending_;
    gapPending_ = false;
    write_.store(after, std::memory_order_release);
    return true;
}

bool MidiRing::pop(Entry& out) noexcept {
    const int i = read_.load(std::memory_order_relaxed);
    if (i == writeSeen_) {
        writeSeen_ = write_.load(std::memory_order_acquire);
        if (i == writeSeen_) return false;
    }
    out.msg = RingMsg_[i];
    out.param = RingParam_[i];
    out.stamp = RingTime_[i];
    out.gap = RingGap_[i];
    // The slot is handed back to the producer only after it has been copied.
    read_.store(next(i), std::memory_order_release);
    return true;
}

bool MidiRing::empty() const noexcept {
    return read_.load(std::memory_order_acquire) == write_.load(std::memory_order_acquire);
}

int MidiRing::unread() const noexcept {
    const int r = read_.load(std::memory_order_acquire);
    const int w = write_.load(std::memory_order_acquire);
    return w >= r ? w - r : w + Size - r;
}

void MidiRing::discard() noexcept {
    writeSeen_ = write_.load(std::memory_order_acquire);
    read_.store(writeSeen_, std::memory_order_release);
}

} // namespace transport
