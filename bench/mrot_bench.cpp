// Saving and loading a measurement of 1,000,000 rows (.mrot, version 2): the file is its
// head plus 97 bytes per row, written atomically and read back into a row store, and the
// advance window's load that also derives the advance row of every stored row.
#include "app/FileStore.h"
#include "measure/AdvanceRow.h"
#include "measure/MeasurementRow.h"
#include "measure/MrotFile.h"
#include "measure/RowStore.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>

namespace {

constexpr size_t kRows = 1'000'000;

// A million distinct rows: a sweep of speeds, row numbers counting up (kept to 6 digits).
const RowStore& measurement() {
    static RowStore store = [] {
        RowStore rows(kRowLength);
        std::string text;
        int64_t elapsed = 0;
        for (size_t i = 0; i < kRows; ++i) {
            const uint32_t tc = 4200 + static_cast<uint32_t>(i * 37 % 42000);
            const uint32_t ta = tc / 8, tb = tc - ta, tib = tb * 3 / 4, tss = ta / 3;
            elapsed += ticksToMicros(tc);
            const std::string rot = formatGrouped(rpmFromTicks(tc));
            const std::string tcText = formatMillisGrouped(ticksToMicros(tc));
            const std::string tbText = formatMillisGrouped(ticksToMicros(tb));
            const std::string taText = formatMillisGrouped(ticksToMicros(ta));
            const std::string tibText = formatMillisGrouped(ticksToMicros(tib));
            const std::string tssText = formatMillis(ticksToMicros(tss));
            RowFields f;
            f.rowNo = static_cast<int64_t>(i % 999'999) + 1;
            f.RotText = rot;
            f.TcText = tcText;
            f.TbText = tbText;
            f.DTbText = "+0.000";
            f.TaText = taText;
            f.TibText = tibText;
            f.TssText = tssText;
            f.A1 = static_cast<int>(i & 0xFF);
            f.A2 = 0x3C;
            f.elapsedUs = elapsed;
            composeRow(f, text);
            rows.append(text);
        }
        return rows;
    }();
    return store;
}

std::string benchFile() {
    return (std::filesystem::temp_directory_path() / "zephalon_bench.mrot").string();
}

const std::string kNotes = "Prova al banco\r\nMDX curva 1, sweep 1000-9000 rpm";

void BM_MrotSave1M(benchmark::State& state) {
    const RowStore& rows = measurement();
    const std::string file = benchFile();
    for (auto _ : state) {
        const std::string bytes = serializeMrot(file, kNotes, rows.size(),
                                                [&rows](size_t i) { return rows.row(i); });
        if (!writeFileAtomically(file, bytes).empty()) state.SkipWithError("write failed");
    }
    const auto size = std::filesystem::file_size(file);
    const size_t head = mrotHead(file, kNotes).size();
    state.counters["file_bytes"] = static_cast<double>(size);
    state.counters["head_plus_97_per_row"] = size == head + 97 * kRows ? 1 : 0;
}
BENCHMARK(BM_MrotSave1M)->Unit(benchmark::kMillisecond)->Iterations(3);

// The saved measurement the load benchmarks read.
std::string savedFile() {
    const std::string file = benchFile();
    if (!std::filesystem::exists(file)) {
        const RowStore& rows = measurement();
        writeFileAtomically(file, serializeMrot(file, kNotes, rows.size(),
                                                [&rows](size_t i) { return rows.row(i); }));
    }
    return file;
}

void BM_MrotLoad1M(benchmark::State& state) {
    const std::string file = savedFile();
    size_t loaded = 0;
    for (auto _ : state) {
        RowStore rows(kRowLength);
        const auto bytes = readWholeFile(file);
        const auto doc = parseMrot(*bytes, [&rows](std::string_view row) { rows.append(row); });
        if (!doc) state.SkipWithError("refused");
        loaded = rows.size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(loaded);
}
BENCHMARK(BM_MrotLoad1M)->Unit(benchmark::kMillisecond)->Iterations(3);

// The advance window's load: the stored rows and the advance row derived from each.
void BM_MrotLoadAdvance1M(benchmark::State& state) {
    const std::string file = savedFile();
    size_t loaded = 0;
    for (auto _ : state) {
        RowStore rows(kRowLength);
        RowStore advance(kAdvanceRowLength);
        const auto bytes = readWholeFile(file);
        const auto doc = parseMrot(*bytes, [&](std::string_view row) {
            rows.append(row);
            advance.append(advanceRowFromText(row));
        });
        if (!doc) state.SkipWithError("refused");
        loaded = advance.size();
        benchmark::DoNotOptimize(advance);
    }
    state.counters["rows"] = static_cast<double>(loaded);
    std::filesystem::remove(file);
}
BENCHMARK(BM_MrotLoadAdvance1M)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
