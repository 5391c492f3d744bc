#pragma once
#include "measure/ui/ImageCanvas.h"
#include <QWidget>

namespace measure {

// Picture1 of the rotation window: the graph is drawn into a backing image (positions in
// twips) and the widget only copies the image to the screen when it is repainted.
class MisRotPicture : public QWidget, public GraphCanvas {
    Q_OBJECT
public:
    MisRotPicture(double twipsPerPixelX, double twipsPerPixelY, QWidget* parent = nullptr);

    // GraphCanvas
    void clear() override { canvas_.clear(); }
    void line(int x1, int y1, int x2, int y2, uint32_t colour, int width) override {
        canvas_.line(x1, y1, x2, y2, colour, width);
    }
    void point(int x, int y, uint32_t colour) override { canvas_.point(x, y, colour); }

    const QImage& image() const { return canvas_.image; }
    int widthTwips() const;
    int heightTwips() const;
    int toPixelsX(int twips) const { return canvas_.toPixelsX(twips); }
    int toPixelsY(int twips) const { return canvas_.toPixelsY(twips); }

signals:
    // The size changed: the owner draws the graph again.
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    ImageCanvas canvas_;
};

} // namespace measure
