#pragma once
#include "measure/RotationGraph.h"
#include <QImage>

namespace measure {

// The rotation graph's canvas as an image whose pixels are tppX x tppY twips.
class ImageCanvas : public GraphCanvas {
public:
    ImageCanvas(double twipsPerPixelX, double twipsPerPixelY);

    void clear() override;
    void line(int x1, int y1, int x2, int y2, uint32_t colour, int width) override;
    void point(int x, int y, uint32_t colour) override;

    QImage image;
    double tppX;
    double tppY;
    int toPixelsX(int twips) const;
    int toPixelsY(int twips) const;
};

} // namespace measure
