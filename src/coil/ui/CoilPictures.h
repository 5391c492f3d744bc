#pragma once
#include "coil/CoilGraph.h"
#include <QPointF>
#include <QWidget>
#include <optional>

namespace coil {

// Picture1 of the coil window: the grid of 10 x 10 divisions, the period marks (green),
// the dwell marks (yellow) and the current curve (white), painted from the last
// simulation each time, so nothing is lost when the window is covered or resized.
class CoilCurrentPicture : public QWidget {
    Q_OBJECT
public:
    explicit CoilCurrentPicture(QWidget* parent = nullptr);
    // The graph to show; nothing clears it.
    void setGraph(std::optional<CurrentGraph> graph);
    const std::optional<CurrentGraph>& graph() const { return graph_; }
    // A point of the graph (twips) in the widget's pixels.
    QPointF toPixels(const Point& p) const;
    QSize sizeHint() const override { return {460, 460}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<CurrentGraph> graph_;
};

// The whole program at once: the dwell of every speed band against engine speed, with the
// reference speed marked.
class CoilBandPicture : public QWidget {
    Q_OBJECT
public:
    explicit CoilBandPicture(QWidget* parent = nullptr);
    void setProgram(const DwellIndexes& dwell, int referenceRpm);
    // The scales' numbers and units in the language (LangOffset).
    void setLanguage(int langOffset) { lang_ = langOffset; }
    QSize sizeHint() const override { return {300, 110}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    DwellIndexes dwell_{};
    int rpm_ = 0;
    int lang_ = 0;
};

} // namespace coil
