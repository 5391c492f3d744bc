#include "measure/ExtendedRow.h"
#include "measure/GraphTimeBase.h"
#include "measure/LiveText.h"
#include "measure/RotationGraph.h"
#include "measure/RotationMeasurement.h"
#include "measure/RowLabels.h"
#include "measure/RowReader.h"
#include "measure/RowStore.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace measure;

namespace {

// Tb 17,501 us, Ta 2,499 us, Tib 14,400 us, Tss 1,120 us, A1 1010 0101: 3,000 rpm.
const std::string kRow1 = "     1  3,000    20.000    17.501  +17.501   2.499    14.400   1.120 "
                          "1010 0101 3C 00:00:020,000";
// A revolution of 0 ticks.
const std::string kZeroRow = "     4                     0.000    -0.061   0.000     0.000   0.000 "
                             "0000 0000 00 00:00:060,000";

struct Line {
    int x1, y1, x2, y2;
    uint32_t colour;
};

// Records what the graph draws.
struct Recorder : GraphCanvas {
    int clears = 0;
    std::vector<Line> lines;
    std::vector<std::pair<int, int>> points;
    void clear() override {
        ++clears;
        lines.clear();
        points.clear();
    }
    void line(int x1, int y1, int x2, int y2, uint32_t colour, int) override {
        lines.push_back({x1, y1, x2, y2, colour});
    }
    void point(int x, int y, uint32_t) override { points.emplace_back(x, y); }
    std::vector<Line> of(uint32_t colour) const {
        std::vector<Line> out;
        for (const Line& l : lines)
            if (l.colour == colour) out.push_back(l);
        return out;
    }
};

// A grid of ten 1000-twip divisions from x 600 to 10,600; bottom line 5,800, 0-9,000 rpm
// in steps of (5,800 - 200) / 9 = 622 twips; 4 ms per division; no synchronisation shift.
RotationGraph testGraph() {
    RotationGraph g;
    g.pictureWidth = 600 + 10'000 + RotationGraph::ScaleWidth;
    g.pictureHeight = 6000;
    g.timeBaseUs = 4000;
    g.coarse = 3;
    g.syncTc = false;
    g.layout();
    return g;
}

} // namespace

TEST(RowReaders, NumbersComeBackByColumnPositionAndTheExtendedRowAddsT45AdvanceAndAngle) {
    for (const auto& [text, micros] :
         {std::pair{"1,234.567", 1234567}, {"   17.501", 17501}, {"419.429", 419429}})
        EXPECT_EQ(readMillis(text), micros) << text;
    EXPECT_EQ(readMillis("         "), std::nullopt);
    EXPECT_EQ(readMillis("  1x.345"), std::nullopt);
    EXPECT_EQ(readInteger("12,345"), 12345);
    EXPECT_EQ(readInteger("      "), std::nullopt);

    const auto v = readRow(kRow1);
    ASSERT_TRUE(v);
    // Tb, Ta, Tib and Tss are worked in the extended row below and in the drawing.
    EXPECT_EQ(v->rowNo, 1);
    EXPECT_EQ(v->statusLow2, 1); // "...0101"
    EXPECT_EQ(v->Tempo, "00:00:020,000");
    EXPECT_FALSE(readRow(kRow1.substr(0, 94)));

    // The extended row: T45 = 17,501 x 45 / 315 = 2,500.1 us; TAnt = 2,499 - 1,120 = 1,379 us (Ta
    // larger:
    // "+"); advance = 360 x 1,379 / 20,000 = 24.82 degrees.
    const std::string expected = kRow1.substr(0, 51) + "  2.500" + " " + "   14.400   1.120" + " " +
                                 "+1.379" + " " + "24.8" + "  " + "00:00:020,000";
    EXPECT_EQ(extendedRow(kRow1), expected);
    // No revolution time: no angle; Tss equal to Ta: no sign.
    const std::string zero = extendedRow(kZeroRow);
    EXPECT_EQ(zero.size(), 103u);
    EXPECT_EQ(zero.substr(77, 6), " 0.000");
    EXPECT_EQ(zero.substr(84, 4), "    ");
}

TEST(RowStoreAndLiveText, RowsKeepTheirTextAcrossChunksAndTheLiveTextItsLimit) {
    RowStore store(95);
    const size_t n = RowStore::RowsPerChunk + 3;
    for (size_t i = 0; i < n; ++i)
        store.append(std::to_string(i));
    store.append(kRow1 + "tail"); // cut to the width
    ASSERT_EQ(store.size(), n + 1);
    EXPECT_EQ(store.row(RowStore::RowsPerChunk + 1),
              std::to_string(RowStore::RowsPerChunk + 1) + std::string(91, ' '));
    EXPECT_EQ(store.row(n), kRow1);
    EXPECT_LT(store.memoryBytes() / store.size(), 200u);
    store.clear();
    EXPECT_TRUE(store.empty());

    LiveText text;
    int counter = 0;
    for (int i = 1; i <= 300; ++i)
        text.add("row " + std::to_string(i), counter);
    EXPECT_EQ(text.size(), 300u);
    EXPECT_EQ(text.text().substr(0, 8), "row 300\n"); // newest first
    text.add("row 301", counter);                     // the 301st empties the text
    EXPECT_EQ(text.size(), 0u);
    EXPECT_EQ(counter, 0);
    for (int i = 302; i <= 305; ++i)
        text.add("row " + std::to_string(i), counter);
    EXPECT_EQ(text.text(), "row 305\nrow 304\nrow 303\nrow 302\n");

    EXPECT_EQ(newMeasurementName(6, "dic", 2026, 15, 4, 2), "Misura-6dic26-150402.mrot");
    // The first second of 2100: every field two digits, the year's too.
    EXPECT_EQ(newMeasurementName(1, "jan", 2100, 0, 0, 0), "Misura-1jan00-000000.mrot");
}

TEST(GraphTimeBases, CoarseTableAndFineBar) {
    EXPECT_STREQ(kCoarseTimeBases[16].text, "5 s/div");
    EXPECT_STREQ(kCoarseTimeBases[20].text, "40 s/div");
    EXPECT_EQ(fineTimeBase(16, 200), 5'000'000); // the coarse value itself
    EXPECT_EQ(fineTimeBase(16, 0), 5'000'000 - 800);
    EXPECT_EQ(fineTimeBase(16, 400), 5'000'000 + 800);
    EXPECT_EQ(fineTimeBase(99, 200), 40'000'000); // held in the table
    EXPECT_EQ(fineTimeBaseText(fineTimeBase(0, 0), 0), "0,200 ms/div");
    EXPECT_EQ(fineTimeBaseText(fineTimeBase(16, 400), 0), "5.000,800 ms/div");
    EXPECT_EQ(fineTimeBaseText(fineTimeBase(16, 400), 200), "5,000.800 ms/div");
}

TEST(RotationGraphDrawing, OneRevolutionScaleLabelsScanAutoSynchronisationAndSweeps) {
    RotationGraph g = testGraph();
    ASSERT_EQ(g.divisionWidth, 1000);
    ASSERT_EQ(g.bottomLine, 5800);
    ASSERT_EQ(g.speedStep, 622);
    RotationGraph raised = testGraph(); // two steps up, pulses three steps higher
    raised.bottomRaise = 2;
    raised.pulseRaise = 3;
    raised.layout();
    EXPECT_EQ(std::pair(raised.bottomLine, raised.pulseHeight), std::pair(5400, 1300));
    Recorder c;
    g.MisRotDiagProc(kRow1, c);
    EXPECT_EQ(c.clears, 1); // a new graph starts with a clean grid
    // Grid: frame (3), ten divisions, ten 1000 rpm lines (0-9,000).
    EXPECT_EQ(c.of(measure::GridColour).size(), 3u + 10u + 10u);

    // Speed: 3,000 rpm is 3 steps above the bottom line; 20 ms at 4 ms/div is 5 divisions.
    const auto speed = c.of(measure::SpeedColour);
    ASSERT_EQ(speed.size(), 2u);
    EXPECT_EQ(speed[1].y1, 5800 - 3 * 622);
    EXPECT_EQ(speed[1].x1, 600);
    EXPECT_EQ(speed[1].x2, 5600);
    EXPECT_EQ(g.sweepX, 5600);

    // Sensor pulse: low for Tb (17,501 us = 4,375 twips), high for Ta.
    const auto pulse = c.of(measure::PulseColour);
    ASSERT_EQ(pulse.size(), 4u);
    EXPECT_EQ(pulse[1].x2, 600 + 4375);
    EXPECT_EQ(pulse[3].x2, 5600);
    EXPECT_EQ(pulse[3].y1, pulse[1].y1 - 1000); // the pulse height

    // Coil from Tib (14,400 us: x 4,200) up to the spark, Tss after the end of Tb:
    // 4,975 + 1,120 us = 4,975 + 280.
    const auto coil = c.of(measure::CoilColour);
    ASSERT_EQ(coil.size(), 1u);
    EXPECT_EQ(coil[0].x1, 4975 + 280);
    ASSERT_FALSE(c.points.empty());
    EXPECT_EQ(c.points.front().first, 4200);
    for (size_t i = 1; i < c.points.size(); ++i) {
        EXPECT_LT(c.points[i].first, 5255);
        EXPECT_LE(c.points[i].second, c.points[i - 1].second); // the current rises
    }

    // Above 50 ms per division the pulse is left out.
    RotationGraph slow = testGraph();
    slow.coarse = 10;
    Recorder c2;
    slow.MisRotDiagProc(kRow1, c2);
    EXPECT_TRUE(c2.of(measure::PulseColour).empty());

    // Scale labels and speed levels stay in the drawing area.
    slow.speedLow = 2;
    slow.speedHigh = 6;
    slow.layout();
    ASSERT_EQ(slow.speedStep, (5800 - 200) / 4);
    int y = 0, rpm = 0;
    ASSERT_TRUE(slow.scaleLabel(0, y, rpm));
    EXPECT_EQ(rpm, 2000);
    EXPECT_EQ(y, 5800);
    ASSERT_TRUE(slow.scaleLabel(4, y, rpm));
    EXPECT_EQ(rpm, 6000);
    EXPECT_FALSE(slow.scaleLabel(5, y, rpm));
    EXPECT_EQ(slow.speedLevel(1000), 5800);                    // below the range: bottom line
    EXPECT_EQ(slow.speedLevel(60000), RotationGraph::TopLine); // above: top line
    EXPECT_EQ(slow.speedLevel(3000), 5800 - 1400);

    // ScanAuto: one revolution fills the ten divisions whatever the time base.
    RotationGraph scan = testGraph();
    scan.scanAuto = true;
    scan.timeBaseUs = 40'000'000;
    Recorder cs;
    scan.MisRotDiagProc(kRow1, cs);
    EXPECT_EQ(cs.of(measure::SpeedColour)[1].x2, 10600);
    EXPECT_EQ(scan.currentTimeBaseUs, 2000.0);
    EXPECT_TRUE(scan.sweepEnded());
    EXPECT_EQ(scan.redrawState, RotationGraph::NewSweep);

    // Sinc Tc: the first revolution of a sweep is shortened by 95 % of Tib (13,680 us),
    // the following ones are whole.
    RotationGraph s = testGraph();
    s.syncTc = true;
    Recorder c3;
    s.MisRotDiagProc(kRow1, c3);
    EXPECT_EQ(s.sweepX, 600 + (20000 - 13680) / 4);
    s.MisRotDiagProc(kRow1, c3);
    EXPECT_EQ(s.sweepX, 600 + 1580 + 5000);

    // Sweeps: at 4 ms/div two 20 ms revolutions fill the screen; the third starts a new
    // sweep on a clean grid and becomes the memory position.
    RowStore rows;
    for (int i = 0; i < 5; ++i)
        rows.append(kRow1);
    RotationGraph live = testGraph();
    Recorder c4;
    live.drawLive(rows, 0, 3, c4);
    EXPECT_EQ(c4.clears, 1); // the first sweep was gone before the screen showed it
    EXPECT_EQ(c4.of(measure::SpeedColour).size(), 2u);
    EXPECT_EQ(live.memoryPosition, 3u);
    EXPECT_EQ(live.sweepX, 5600);

    // Redrawing from the memory position stops at the right edge.
    RotationGraph agg = testGraph();
    agg.memoryPosition = 2;
    Recorder c5;
    agg.MisRotDiagrammaAgg(rows, c5);
    EXPECT_EQ(agg.currentRow, 4u); // rows 2 and 3 drawn
    EXPECT_TRUE(agg.sweepEnded());
}

// The labels beside the lists: the number and time as the row writes them, the speed in the
// language with its unit; the row itself keeps its fixed layout.
TEST(RowLabelsBesideTheLists, NumberTimeAndSpeedInTheLanguage) {
    const std::string row =
        "    12  3,000    20.000    15.000  +15.000   5.000     1.234   4.000 1010 0101 3C "
        "00:01:240,000";
    const RowLabels it = rowLabels(row, 0);
    EXPECT_EQ(it.number, "12");
    EXPECT_EQ(it.time, "00:01:240,000");
    EXPECT_EQ(it.speed, "3.000 giri/min");
    EXPECT_EQ(rowLabels(row, 200).speed, "3,000 rpm");
    const std::string stopped = "    13" + std::string(76, ' ') + "00:01:250,000";
    EXPECT_EQ(rowLabels(stopped, 0).speed, "");
}
