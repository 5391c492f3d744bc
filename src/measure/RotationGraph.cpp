#include "measure/RotationGraph.h"
#include "measure/GraphTimeBase.h"
#include "measure/RowReader.h"
#include <algorithm>
#include <cmath>

namespace measure {

void RotationGraph::layout() {
    divisionWidth = std::max(1, (pictureWidth - LeftEdge - ScaleWidth) / 10);
    rightEdge = LeftEdge + 10 * divisionWidth;
    bottomLine = pictureHeight - 200 - 200 * bottomRaise;
    const int range = std::max(1, speedHigh - speedLow);
    speedStep = std::max(1, (bottomLine - TopLine) / range);
    pulseHeight = 1000 + 100 * pulseRaise;
    if (redrawState == NewGraph) previousLevel = bottomLine;
}

void RotationGraph::GrigliaDis(GraphCanvas& canvas) const {
    canvas.clear();
    const int top = TopLine;
    canvas.line(LeftEdge, top, rightEdge, top, GridColour, 1);
    canvas.line(LeftEdge, bottomLine, rightEdge, bottomLine, GridColour, 1);
    canvas.line(LeftEdge, top, LeftEdge, bottomLine, GridColour, 1);
    for (int i = 1; i <= 10; ++i) {
        const int x = LeftEdge + i * divisionWidth;
        canvas.line(x, bottomLine, x, top, GridColour, 1);
    }
    for (int y = bottomLine; y >= top; y -= speedStep)
        canvas.line(LeftEdge, y, rightEdge, y, GridColour, 1);
}

bool RotationGraph::scaleLabel(int i, int& y, int& rpm) const {
    if (i < 0 || i > speedHigh - speedLow) return false;
    y = bottomLine - i * speedStep;
    if (y < TopLine - speedStep / 2) return false;
    rpm = (speedLow + i) * 1000;
    return true;
}

int RotationGraph::speedLevel(int64_t rpm) const {
    const double y = bottomLine - static_cast<double>(rpm - speedLow * 1000LL) / 1000.0 * speedStep;
    return static_cast<int>(
        std::clamp(y, static_cast<double>(TopLine), static_cast<double>(bottomLine)));
}

void RotationGraph::startSweep(GraphCanvas& canvas) {
    switch (redrawState) {
    case NewGraph:
        GrigliaDis(canvas);
        previousLevel = bottomLine;
        sweepX = LeftEdge;
        rowsInSweep = 0;
        break;
    case NewSweep:
        GrigliaDis(canvas);
        sweepX = LeftEdge;
        rowsInSweep = 0;
        memoryPosition = currentRow;
        break;
    case NewSweepKeepPosition:
        GrigliaDis(canvas);
        sweepX = LeftEdge;
        rowsInSweep = 0;
        break;
    default:
        break;
    }
    redrawState = InProgress;
}

void RotationGraph::drawCoil(int startX, int endX, int baseline, double timeBase,
                             GraphCanvas& canvas) const {
    // Total resistance in tenths of an Ohm with 0.3 Ohm of wiring; tau in microseconds.
    const double rt = coil.R + coil.R * coil.RPlus / 100.0 + 3;
    if (rt <= 0 || coil.L <= 0) return;
    const double tau = 1000.0 * coil.L / rt;
    const double finalAmps = coil.VBatt / rt;
    const double twipsPerAmp = pulseHeight / 10.0;
    // One point per 20 us, but never more than one per 15 twips.
    const double twipsPerUs = divisionWidth / timeBase;
    const double stepUs = std::max(20.0, std::ceil(15.0 / twipsPerUs / 20.0) * 20.0);
    const int end = std::min(endX, rightEdge);
    for (double t = 0;; t += stepUs) {
        const int x = startX + static_cast<int>(t * twipsPerUs);
        if (x >= end) break;
        const double amps = finalAmps * (1.0 - std::exp(-t / tau));
        canvas.point(x, baseline - static_cast<int>(amps * twipsPerAmp), CoilColour);
    }
}

void RotationGraph::MisRotDiagProc(std::string_view row, GraphCanvas& canvas) {
    sweepEnded_ = false;
    const std::optional<RowValues> v = readRow(row);
    if (!v) return;
    int64_t tb = v->Tb;
    int64_t tib = v->Tib;
    int64_t tc = v->Tc();
    const int64_t tss = v->Tss;
    const int64_t rpm = tc > 0 ? 60'000'000 / tc : 0;

    double timeBase = static_cast<double>(timeBaseUs);
    if (scanAuto && tc > 0) timeBase = tc / 10.0;
    timeBase = std::max(timeBase, 1.0);
    currentTimeBaseUs = timeBase;

    const bool firstOfSweep = redrawState != InProgress;
    startSweep(canvas);
    if (firstOfSweep && syncTc && !scanAuto) {
        // The first revolution of a sweep starts shortly before its coil switches on.
        const int64_t shift = 95 * tib / 100;
        tc = std::max<int64_t>(0, tc - shift);
        tb = std::max<int64_t>(0, tb - shift);
        tib -= shift;
    }
    const auto xAt = [&](int from, int64_t us) {
        return from + static_cast<int>(static_cast<double>(us) / timeBase * divisionWidth);
    };
    const int x0 = sweepX;
    const int endX = xAt(x0, tc);
    const int cutX = std::min(endX, rightEdge);

    // Speed: a step at the revolution start, then the level to its end.
    const int level = speedLevel(rpm);
    if (x0 < rightEdge) {
        canvas.line(x0, previousLevel, x0, level, SpeedColour, 1);
        canvas.line(x0, level, cutX, level, SpeedColour, 1);
    }

    // Sensor pulse on its own baseline: low for Tb, high for Ta.
    const int baseline = pictureHeight - PulseMargin;
    const int high = baseline - pulseHeight;
    const int tbX = std::min(xAt(x0, tb), rightEdge);
    if (coarse <= kLastPulseCoarse && x0 < rightEdge) {
        canvas.line(x0, high, x0, baseline, PulseColour, 1);
        canvas.line(x0, baseline, tbX, baseline, PulseColour, 1);
        if (tbX < rightEdge) {
            canvas.line(tbX, baseline, tbX, high, PulseColour, 1);
            canvas.line(tbX, high, cutX, high, PulseColour, 1);
        }
    }

    // Coil on from Tib (after the revolution start) until the spark, Tss after the end of Tb.
    const int coilX = xAt(x0, std::max<int64_t>(0, tib));
    const int sparkX = xAt(xAt(x0, tb), tss);
    drawCoil(coilX, sparkX > coilX ? sparkX : endX, baseline, timeBase, canvas);
    if (sparkX < rightEdge) canvas.line(sparkX, baseline, sparkX, high, CoilColour, 1);

    sweepX = endX;
    previousLevel = level;
    ++rowsInSweep;
    if (endX >= rightEdge) {
        redrawState = NewSweep;
        sweepEnded_ = true;
    }
}

void RotationGraph::MisRotDiagrammaAgg(const RowSource& rows, GraphCanvas& canvas) {
    layout();
    currentRow = std::max<size_t>(1, memoryPosition);
    if (rows.empty()) {
        GrigliaDis(canvas);
        return;
    }
    for (; currentRow <= rows.size(); ++currentRow) {
        MisRotDiagProc(rows.row(currentRow - 1), canvas);
        if (sweepEnded_) {
            ++currentRow;
            break;
        }
    }
}

void RotationGraph::drawLive(const RowSource& rows, size_t first, size_t last,
                             GraphCanvas& canvas) {
    if (first >= last) return;
    // Find the last row that starts a sweep: what comes before it is cleared anyway.
    RotationGraph probe = *this;
    NullCanvas none;
    size_t lastClear = first;
    for (size_t i = first; i < last; ++i) {
        if (probe.redrawState != InProgress) lastClear = i;
        probe.currentRow = i + 1;
        probe.MisRotDiagProc(rows.row(i), none);
    }
    for (size_t i = first; i < last; ++i) {
        currentRow = i + 1;
        MisRotDiagProc(rows.row(i), i < lastClear ? static_cast<GraphCanvas&>(none) : canvas);
    }
    currentRow = last + 1;
}

} // namespace measure
