#pragma once
#include "measure/RotationGraph.h"
#include <QImage>
#include <QWidget>

// Picture1 of the rotation window: the graph is drawn into a backing image (positions in
// twips) and the widget only copies the image to the screen when it is repainted.
class MisRotPicture : public QWidget, public GraphCanvas {
    Q_OBJECT
public:
    MisRotPicture(double twipsPerPixelX, double twipsPerPixelY, QWidget* parent = nullptr);

    // GraphCanvas
    void clear() override;
    void line(int x1, int y1, int x2, int y2, uint32_t colour, int width) override;
    void point(int x, int y, uint32_t colour) override;

    const QImage& image() const { return image_; }
    int widthTwips() const;
    int heightTwips() const;
    int toPixelsX(int twips) const;
    int toPixelsY(int twips) const;

signals:
    // The size changed: the owner draws the graph again.
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    double tppX_;
    double tppY_;
    QImage image_;
};
