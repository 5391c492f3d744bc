// The input poller under a flood: a producer thread (standing in for a serial line sending
// random bytes at full speed) keeps the ring as full as it can, while the benchmark's thread
// runs the ticks of a TimerMIDIIn with its time budget, decoding into an open control panel
// whose monitor collects the lines as the window's batches do. Figures: messages decoded per
// second, the longest tick (the longest time away from the event loop, goal under 10 ms) and
// the share of messages the full ring lost.
#include "base/AppState.h"
#include "base/Notifier.h"
#include "base/ShowMsg.h"
#include "base/Texts.h"
#include "protocol/Decoder.h"
#include "support/FakeMidiSystem.h"
#include "timing/PrecisionClock.h"
#include "transport/MidiByteParser.h"
#include "transport/MidiPoller.h"
#include "transport/MidiPort.h"

#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <memory>
#include <random>
#include <thread>
#include <vector>

using namespace base;
using namespace timing;
using namespace transport;
using namespace protocol;

namespace {

constexpr int64_t kBudgetUs = 4000; // RingPollTimer::PollBudgetUs

struct Quiet : Notifier {
    void warning(const std::string&, const std::string&) override {}
    Answer question(const std::string&, const std::string&) override { return Answer::Yes; }
    void notice(const std::string&) override {}
};

// The panel's monitor as its batches keep it: lines collected, shown a few times a second.
struct Monitor : PanelSink {
    std::string pending;
    std::string last;
    void enableClearText1() override {}
    void setPMIDIIn(const std::string& hex) override { last = hex; }
    void setRdDAT(const std::string&) override {}
    void appendLog(const std::string& line) override { pending += line; }
    void clearLog() override { pending.clear(); }
};

struct SteadyClock : PollClock {
    int64_t nowUs() override {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

// CPU time of this thread: what the poller itself spends, without the times a busy machine
// did not run it.
int64_t threadCpuUs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return int64_t{t.tv_sec} * 1'000'000 + t.tv_nsec / 1000;
}

struct Workbench {
    Texts texts;
    Quiet notifier;
    MessageService messages{texts, notifier};
    PrecisionClock clock;
    FakeMidiSystem fake;
    MidiPort port{fake, messages, clock};
    AppState app;
    DecoderTargets targets;
    Monitor monitor;
    Decoder decoder{port, app, notifier, targets};
    Workbench() {
        targets.panel = &monitor;
        targets.expecting.set(base::PanelWindow);
        port.MIDIInDecode = true;
        port.StopMIDIPoll = false;
        decoder.EEPROMAccess = true;
    }
};

void BM_PollerUnderAFlood(benchmark::State& state) {
    auto bench = std::make_unique<Workbench>();
    SteadyClock clock;
    int64_t decoded = 0;
    std::vector<int64_t> ticks;
    int64_t longestCpuUs = 0;
    uint64_t offered = 0;
    for (auto _ : state) {
        std::atomic<bool> stop{false};
        std::atomic<uint64_t> sent{0};
        std::thread line([&] {
            std::mt19937 random(7);
            MidiByteParser parser;
            uint64_t n = 0;
            while (!stop.load(std::memory_order_relaxed)) {
                if (const auto msg = parser.feed(static_cast<uint8_t>(random()))) {
                    MidiPort::MIDIInProc(&bench->port, transport::MidiInData, *msg);
                    ++n;
                }
            }
            sent = n;
        });
        const int64_t end = clock.nowUs() + 200'000; // 0.2 s of flood per iteration
        while (clock.nowUs() < end) {
            const int64_t begin = clock.nowUs();
            const int64_t cpuBegin = threadCpuUs();
            const int before = bench->port.ring.RingRead();
            pollRing(bench->port, bench->decoder, clock, kBudgetUs);
            const int after = bench->port.ring.RingRead();
            decoded += (after - before + MidiRing::Size) % MidiRing::Size;
            ticks.push_back(clock.nowUs() - begin);
            longestCpuUs = std::max(longestCpuUs, threadCpuUs() - cpuBegin);
            bench->monitor.pending.clear();
            // The rest of the 10 ms tick belongs to the window's events.
            std::this_thread::sleep_until(std::chrono::steady_clock::now() +
                                          std::chrono::microseconds(10'000 - kBudgetUs));
        }
        stop = true;
        line.join();
        offered += sent;
    }
    state.SetItemsProcessed(decoded);
    state.counters["decoded/s"] =
        benchmark::Counter(static_cast<double>(decoded), benchmark::Counter::kIsRate);
    // On a shared machine the longest tick also counts the times the thread was not running;
    // the 99th percentile shows the poller's own bound.
    std::sort(ticks.begin(), ticks.end());
    if (!ticks.empty()) {
        state.counters["longest_tick_ms"] = static_cast<double>(ticks.back()) / 1000.0;
        state.counters["longest_tick_cpu_ms"] = static_cast<double>(longestCpuUs) / 1000.0;
        state.counters["p99_tick_ms"] =
            static_cast<double>(ticks[ticks.size() * 99 / 100]) / 1000.0;
    }
    state.counters["lost_share"] =
        offered ? static_cast<double>(bench->port.ring.overruns()) / static_cast<double>(offered)
                : 0.0;
}
BENCHMARK(BM_PollerUnderAFlood)->Iterations(10)->UseRealTime()->Unit(benchmark::kMillisecond);

// The same decoding without a producer: how fast one tick takes a full ring.
void BM_PollerDrainsAFullRing(benchmark::State& state) {
    auto bench = std::make_unique<Workbench>();
    SteadyClock clock;
    std::mt19937 random(11);
    int64_t decoded = 0;
    for (auto _ : state) {
        state.PauseTiming();
        MidiByteParser parser;
        while (bench->port.ring.unread() < MidiRing::Size - 1)
            if (const auto msg = parser.feed(static_cast<uint8_t>(random())))
                bench->port.ring.push(transport::MidiInData, *msg, 0);
        state.ResumeTiming();
        while (!bench->port.ring.empty()) {
            pollRing(bench->port, bench->decoder, clock, kBudgetUs);
            bench->monitor.pending.clear();
        }
        decoded += MidiRing::Size - 1;
    }
    state.SetItemsProcessed(decoded);
}
BENCHMARK(BM_PollerDrainsAFullRing)->Unit(benchmark::kMillisecond);

} // namespace
