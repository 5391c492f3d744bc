#pragma once
#include "measure/RowStore.h"
#include <cstdint>
#include <string_view>

namespace measure {

// Where the graph draws: positions in twips from the picture's top left, colours 0xBBGGRR.
class GraphCanvas {
public:
    virtual ~GraphCanvas() = default;
    virtual void clear() = 0;
    virtual void line(int x1, int y1, int x2, int y2, uint32_t colour, int width) = 0;
    virtual void point(int x, int y, uint32_t colour) = 0;
};

// Draws nothing: the graph's state moves on as if it drew.
class NullCanvas : public GraphCanvas {
public:
    void clear() override {}
    void line(int, int, int, int, uint32_t, int) override {}
    void point(int, int, uint32_t) override {}
};

inline constexpr uint32_t GridColour = 0xC0C000;
inline constexpr uint32_t SpeedColour = 0x000000;
inline constexpr uint32_t PulseColour = 0xFF0000; // blue
inline constexpr uint32_t CoilColour = 0x0000FF;  // red

// The coil reference values as the coil window keeps them in the settings (raw tenths of a
// volt, mH and Ohm; the added resistance in percent).
struct CoilReference {
    double VBatt = 130;
    double L = 72;
    double R = 30;
    double RPlus = 20;
};

// The rotation graph as a storage oscilloscope: ten time divisions, each revolution as wide
// as its revolution time, the speed as a stepped trace over a grid of 1000 rpm lines, the
// sensor pulse, the coil current and the spark mark of the revolution below it.
class RotationGraph {
public:
    static constexpr int LeftEdge = 600;
    static constexpr int TopLine = 200;
    static constexpr int ScaleWidth = 700; // room for the speed labels right of the grid
    static constexpr int PulseMargin = 100;

    enum Redraw : int { NewGraph = 0, NewSweep = 1, NewSweepKeepPosition = 2, InProgress = 3 };

    // Geometry and scales; call layout() after changing any of them.
    int pictureWidth = 15000;
    int pictureHeight = 6000;
    int speedLow = 0;    // VScroll1, thousands of rpm
    int speedHigh = 9;   // VScroll2
    int bottomRaise = 0; // VScroll3
    int pulseRaise = 0;  // VScroll4
    int coarse = 1;      // HScrollTempoDiv
    int64_t timeBaseUs = 2000;
    bool scanAuto = false; // ComScanAuto shows "Normale"
    bool syncTc = true;    // ComSincTc shows "Sinc Tc"
    CoilReference coil;

    // Derived by layout().
    int rightEdge = 0;
    int divisionWidth = 0;
    int bottomLine = 0;
    int speedStep = 0;
    int pulseHeight = 1000;
    void layout();

    // Sweep state.
    int redrawState = NewGraph;
    size_t currentRow = 1;     // 1-based index of the row drawn next
    size_t memoryPosition = 1; // where the screen shown starts
    int sweepX = LeftEdge;
    int previousLevel = 0;
    int rowsInSweep = 0;
    double currentTimeBaseUs = 2000; // the one last drawn with (ScanAuto changes it)

    // Clears the picture and draws the frame, the ten divisions and the 1000 rpm lines.
    void GrigliaDis(GraphCanvas& canvas) const;
    // The speed label i (0-9): false when beyond the range; else its y (centre) and value.
    bool scaleLabel(int i, int& y, int& rpm) const;
    // Draws row currentRow (its text given).
    void MisRotDiagProc(std::string_view row, GraphCanvas& canvas);
    // Draws again from the memory position until the sweep reaches the right edge or the
    // rows run out.
    void MisRotDiagrammaAgg(const RowSource& rows, GraphCanvas& canvas);
    // Draws rows first..last-1 (0-based) as they came in live. Rows whose sweep is cleared
    // again before the last of them are only followed, not drawn.
    void drawLive(const RowSource& rows, size_t first, size_t last, GraphCanvas& canvas);

    // y of a speed in rpm, held inside the drawing area.
    int speedLevel(int64_t rpm) const;
    // Whether the last row drawn reached the right edge.
    bool sweepEnded() const { return sweepEnded_; }

private:
    void startSweep(GraphCanvas& canvas);
    void drawCoil(int startX, int endX, int baseline, double timeBase, GraphCanvas& canvas) const;
    bool sweepEnded_ = false;
};

} // namespace measure
