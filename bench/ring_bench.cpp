#include "transport/MidiRing.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <memory>
#include <thread>

using namespace transport;

namespace {

// Messages pass from a producer thread (standing in for the MIDI input callback) to the
// consumer on the benchmark's thread; the figure is messages per second end to end.
void BM_RingProducerToConsumer(benchmark::State& state) {
    const auto batch = static_cast<uint32_t>(state.range(0));
    auto ring = std::make_unique<MidiRing>();
    for (auto _ : state) {
        std::atomic<bool> go{false};
        std::thread producer([&] {
            while (!go.load(std::memory_order_acquire))
                std::this_thread::yield();
            for (uint32_t i = 0; i < batch;) {
                if (ring->push(0x3C3, i, i))
                    ++i;
                else
                    std::this_thread::yield();
            }
        });
        go.store(true, std::memory_order_release);
        MidiRing::Entry e{};
        uint32_t sum = 0;
        for (uint32_t got = 0; got < batch;) {
            if (ring->pop(e)) {
                sum += e.param;
                ++got;
            } else {
                // A shared machine may run both threads on one core: let the producer on.
                std::this_thread::yield();
            }
        }
        benchmark::DoNotOptimize(sum);
        producer.join();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * batch);
}
BENCHMARK(BM_RingProducerToConsumer)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// One thread alone: the cost of a push and a pop without any cache traffic between cores.
void BM_RingPushPopSameThread(benchmark::State& state) {
    auto ring = std::make_unique<MidiRing>();
    MidiRing::Entry e{};
    uint32_t i = 0;
    for (auto _ : state) {
        ring->push(0x3C3, i, i);
        ring->pop(e);
        benchmark::DoNotOptimize(e);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RingPushPopSameThread);

} // namespace
