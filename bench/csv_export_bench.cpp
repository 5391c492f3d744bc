// The command line's --export-csv of a 1,000,000-row measurement: the file read, its rows
// taken, the CSV composed and written atomically (the goal: under 2 s).
#include "BenchMeasurement.h"
#include "base/FileStore.h"
#include "measure/MrotFile.h"
#include "shell/FileCommands.h"

#include <benchmark/benchmark.h>
#include <filesystem>

using namespace base;
using namespace measure;
using namespace shell;

namespace {

void BM_ExportCsv1M(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path();
    FileCommand command;
    command.kind = FileCommand::Kind::ExportCsv;
    command.input = (folder / "zephalon_csv_bench.mrot").string();
    command.output = (folder / "zephalon_csv_bench.csv").string();
    const RowStore& rows = bench::measurement();
    writeFileAtomically(command.input, serializeMrot(command.input, "", rows.size(),
                                                     [&rows](size_t i) { return rows.row(i); }));
    for (auto _ : state) {
        const CommandResult result = runExportCsv(command, 200);
        if (result.status != kExitDone) state.SkipWithError(result.error.c_str());
    }
    state.counters["csv_bytes"] = static_cast<double>(std::filesystem::file_size(command.output));
    std::filesystem::remove(command.input);
    std::filesystem::remove(command.output);
}
BENCHMARK(BM_ExportCsv1M)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
