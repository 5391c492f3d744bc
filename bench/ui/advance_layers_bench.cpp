// Five measurements of 1,000,000 rows laid over the advance diagram: what laying them costs
// and holds (the goal: under 150 bytes a row), and one redraw of the layered diagram at the
// advance window's picture size (the goal: under 100 ms, so the window stays responsive).
#include "BenchMeasurement.h"
#include "measure/MeasurementLayer.h"
#include "measure/MrotFile.h"
#include "measure/ui/AdvanceDiagramPainting.h"
#include <benchmark/benchmark.h>
#include <string>
#include <vector>

using namespace measure;

namespace {

constexpr int kLayers = 5;

// The five measurements as the files' bytes, made once.
const std::vector<std::string>& files() {
    static const std::vector<std::string> bytes = [] {
        std::vector<std::string> out;
        for (int v = 0; v < kLayers; ++v) {
            const RowStore rows = bench::makeMeasurement(bench::kRows, v + 1);
            out.push_back(serializeMrot("layer.mrot", "", rows.size(),
                                        [&rows](size_t i) { return rows.row(i); }));
        }
        return out;
    }();
    return bytes;
}

std::vector<DiagramLayer> lay() {
    std::vector<DiagramLayer> layers;
    for (size_t i = 0; i < files().size(); ++i) {
        DiagramLayer layer;
        layer.name = QStringLiteral("layer %1").arg(i);
        layer.colour = layerColour(static_cast<int>(i));
        layer.points = mrotAdvancePoints(files()[i]).value_or(std::vector<AdvancePoint>{});
        layers.push_back(std::move(layer));
    }
    return layers;
}

void BM_LayFiveMeasurements1M(benchmark::State& state) {
    size_t held = 0, rows = 0;
    for (auto _ : state) {
        const std::vector<DiagramLayer> layers = lay();
        held = rows = 0;
        for (const DiagramLayer& l : layers) {
            held += l.points.capacity() * sizeof(AdvancePoint) + sizeof(DiagramLayer);
            rows += bench::kRows;
        }
        benchmark::DoNotOptimize(layers.data());
    }
    state.counters["bytes_per_row_held"] = static_cast<double>(held) / static_cast<double>(rows);
}
BENCHMARK(BM_LayFiveMeasurements1M)->Unit(benchmark::kMillisecond)->Iterations(1);

// The diagram drawn again (a limit moved, a layer shown or hidden) with five layers of a
// million points each, at the window's picture size (9600 x 6500 twips, 15 twips a pixel).
void BM_RedrawFiveLayers1M(benchmark::State& state) {
    static const std::vector<DiagramLayer> layers = lay();
    AdvanceDiagram diagram;
    diagram.resize(9600, 6500);
    size_t points = 0;
    for (const DiagramLayer& l : layers)
        points += l.points.size();
    for (auto _ : state) {
        const QImage image = advanceDiagramImage(diagram, QSize(640, 433), {}, layers);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_RedrawFiveLayers1M)->Unit(benchmark::kMillisecond);

} // namespace
