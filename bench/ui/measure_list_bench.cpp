// A million measurement rows appended to List1's model while the view follows the end, as
// the rotation window refreshes it about 30 times a second; and the memory a held row costs.
#include "measure/RowStore.h"
#include "measure/ui/RowListModel.h"
#include "measure/ui/RowListView.h"
#include "protocol/MeasurementRow.h"
#include <QApplication>
#include <QFont>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fstream>
#include <string>

using namespace protocol;
using namespace measure;

namespace {

// Resident memory of the process in bytes (Linux), 0 elsewhere.
size_t residentBytes() {
    std::ifstream statm("/proc/self/statm");
    size_t pages = 0, resident = 0;
    if (!(statm >> pages >> resident)) return 0;
    return resident * 4096;
}

std::string rowText(int64_t n) {
    RowFields f;
    f.rowNo = n % 999'999 + 1;
    f.RotText = " 3,000";
    f.TcText = "   20.000";
    f.TbText = "   17.501";
    f.DTbText = "  +0.016";
    f.TaText = "  2.499";
    f.TibText = "   14.400";
    f.TssText = "  1.120";
    f.A1 = 0x41;
    f.A2 = 0xAD;
    f.elapsedUs = n * 20'000;
    std::string out;
    composeRow(f, out);
    return out;
}

void BM_MillionRowsAppendedWhileTheViewFollows(benchmark::State& state) {
    constexpr int64_t kRows = 1'000'000;
    constexpr int64_t kPerFrame = 1667; // 50,000 rows a second at 30 frames a second
    for (auto _ : state) {
        const size_t before = residentBytes();
        RowStore store(95);
        RowListModel model(store);
        RowListView view;
        QFont mono(QStringLiteral("Courier New"), 10);
        mono.setStyleHint(QFont::TypeWriter);
        view.setFont(mono);
        view.setModel(&model);
        view.resize(1000, 600);
        view.show();
        QApplication::processEvents();

        double worstMs = 0, totalMs = 0;
        int frames = 0;
        const std::string row = rowText(1);
        for (int64_t n = 0; n < kRows;) {
            const auto start = std::chrono::steady_clock::now();
            const int64_t end = std::min(kRows, n + kPerFrame);
            for (; n < end; ++n)
                store.append(row);
            model.publish();
            view.scrollToBottom();
            view.viewport()->repaint();
            QApplication::processEvents();
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            worstMs = std::max(worstMs, ms);
            totalMs += ms;
            ++frames;
        }
        state.counters["rows"] = static_cast<double>(store.size());
        state.counters["frames"] = frames;
        state.counters["worst_frame_ms"] = worstMs;
        state.counters["mean_frame_ms"] = totalMs / frames;
        state.counters["store_bytes_per_row"] =
            static_cast<double>(store.memoryBytes()) / static_cast<double>(store.size());
        state.counters["resident_bytes_per_row"] =
            static_cast<double>(residentBytes() - before) / static_cast<double>(store.size());
    }
}
BENCHMARK(BM_MillionRowsAppendedWhileTheViewFollows)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
