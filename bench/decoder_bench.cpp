// Decoding plus row building of whole revolutions on one core.
#include "base/AppState.h"
#include "base/ShowMsg.h"
#include "base/Texts.h"
#include "protocol/Decoder.h"
#include "support/FakeMidiSystem.h"
#include "timing/PrecisionClock.h"
#include "transport/MidiPort.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

using namespace base;
using namespace timing;
using namespace transport;
using namespace protocol;

namespace {

struct NullNotifier : Notifier {
    void warning(const std::string&, const std::string&) override {}
    Answer question(const std::string&, const std::string&) override { return Answer::Yes; }
    void notice(const std::string&) override {}
};

struct CountingRows : MeasurementSink {
    int64_t rows = 0;
    size_t chars = 0;
    bool running() const override { return true; }
    void addRow(const MeasurementRow& row) override {
        ++rows;
        chars += row.text.size();
    }
};

// Five messages per revolution: a speed sweep between about 800 and 9,000 rpm.
std::vector<uint32_t> revolutions(int count) {
    std::vector<uint32_t> out;
    out.reserve(static_cast<size_t>(count) * 5);
    auto pack = [](int kind, uint32_t value, int extraBits) {
        const int status = kind | static_cast<int>((value >> 7) & 1) |
                           static_cast<int>((value >> 14) & 2) | extraBits;
        return static_cast<uint32_t>(status) | (value & 0x7F) << 8 | ((value >> 8) & 0x7F) << 16;
    };
    for (int i = 0; i < count; ++i) {
        const uint32_t tc = 4200 + static_cast<uint32_t>(i * 37 % 42000); // ticks
        const uint32_t ta = tc / 8;
        const uint32_t tb = tc - ta;
        const uint32_t tib = tb * 3 / 4;
        const uint32_t tss = ta / 3;
        out.push_back(pack(0x80, tb & 0xFFFF, static_cast<int>((tb >> 16) & 3) << 2));
        out.push_back(
            pack(0x90, ta & 0xFFFF,
                 static_cast<int>((ta >> 16) & 1) << 2 | static_cast<int>((tb >> 18) & 1) << 3));
        out.push_back(pack(0xA0, tib & 0xFFFF, static_cast<int>((tib >> 16) & 3) << 2));
        out.push_back(pack(0xB0, tss & 0xFFFF, static_cast<int>((tib >> 18) & 1) << 3));
        out.push_back(pack(0xE0, static_cast<uint32_t>(i & 0x7F7F), 0));
    }
    return out;
}

void BM_DecodeRevolutions(benchmark::State& state) {
    Texts texts;
    NullNotifier notifier;
    MessageService messages{texts, notifier};
    PrecisionClock clock;
    FakeMidiSystem fake;
    auto port = std::make_unique<MidiPort>(fake, messages, clock);
    AppState app;
    DecoderTargets targets;
    CountingRows rows;
    targets.rotation = &rows;
    targets.expecting.set(base::RotationWindow);
    port->MIDIInDecode = true;
    Decoder decoder(*port, app, notifier, targets);

    const std::vector<uint32_t> stream = revolutions(4096);
    for (auto _ : state) {
        for (uint32_t message : stream)
            decoder.DecodeMIDIIn(message);
        if (decoder.RowCounter > 900'000) decoder.newMeasurement();
    }
    benchmark::DoNotOptimize(rows.chars);
    if (rows.rows != static_cast<int64_t>(state.iterations()) * 4096)
        state.SkipWithError("a revolution gave no row");
    state.SetItemsProcessed(rows.rows);
    state.counters["revolutions/s"] =
        benchmark::Counter(static_cast<double>(rows.rows), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeRevolutions);

} // namespace
