// Saving and loading a measurement of 1,000,000 rows (.mrot, version 2): the file is its
// head plus 97 bytes per row, written atomically and read back into a row store, and the
// advance window's load that also derives the advance row of every stored row.
#include "BenchMeasurement.h"
#include "base/FileStore.h"
#include "measure/AdvanceRow.h"
#include "measure/MrotFile.h"
#include "measure/RowStore.h"
#include "protocol/MeasurementRow.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>

using namespace base;
using namespace protocol;
using namespace measure;

namespace {

using bench::kRows;
using bench::measurement;

std::string benchFile() {
    return (std::filesystem::temp_directory_path() / "zephalon_bench.mrot").string();
}

const std::string kNotes = "Prova al banco\r\nMDX curva 1, sweep 1000-9000 rpm";

void BM_MrotSave1M(benchmark::State& state) {
    const RowStore& rows = measurement();
    const std::string file = benchFile();
    for (auto _ : state) {
        const std::string bytes =
            serializeMrot(file, kNotes, rows.size(), [&rows](size_t i) { return rows.row(i); });
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
