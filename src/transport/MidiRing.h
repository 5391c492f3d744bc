#pragma once
#include <array>
#include <atomic>
#include <cstdint>

namespace transport {

// The input ring: one producer (the MIDI input callback thread) and one consumer (the
// user-interface thread). The producer stores the three columns, then publishes RingWrite
// with release; the consumer reads RingWrite with acquire before it reads the columns.
// Neither side ever writes the other's index. Slots 0-31999, at most 31999 unread.
// The first entry stored after messages were lost to a full ring carries a gap mark, so the
// reader knows where the stream was cut.
class MidiRing {
public:
    static constexpr int Size = 32000;

    struct Entry {
        uint32_t msg;
        uint32_t param;
        uint32_t stamp;
        bool gap; // one or more messages were lost just before this one
    };

    // Producer side: no lock, no allocation. A full ring keeps its unread entries and
    // counts the lost message as an overrun; the next message stored carries the gap mark.
    bool push(uint32_t msg, uint32_t param, uint32_t stamp) noexcept;
    // Consumer side: takes the oldest entry if there is one.
    bool pop(Entry& out) noexcept;
    bool empty() const noexcept;
    int unread() const noexcept;
    // Consumer side: drops every unread entry (RingRead := RingWrite).
    void discard() noexcept;
    // Messages lost because the ring was full.
    uint32_t overruns() const noexcept { return overruns_.load(std::memory_order_relaxed); }

    int RingWrite() const noexcept { return write_.load(std::memory_order_acquire); }
    int RingRead() const noexcept { return read_.load(std::memory_order_acquire); }

private:
    std::array<uint32_t, Size> RingMsg_{};
    std::array<uint32_t, Size> RingParam_{};
    std::array<uint32_t, Size> RingTime_{};
    std::array<bool, Size> RingGap_{};
    // Each side keeps its own index and its last look at the other's on one cache line, and
    // reads the other side's line only when that look says empty (consumer) or full
    // (producer).
    alignas(64) std::atomic<int> write_{0};
    int readSeen_ = 0;        // producer only
    bool gapPending_ = false; // producer only: messages lost since the last one stored
    alignas(64) std::atomic<int> read_{0};
    int writeSeen_ = 0; // consumer only
    alignas(64) std::atomic<uint32_t> overruns_{0};
};

} // namespace transport
