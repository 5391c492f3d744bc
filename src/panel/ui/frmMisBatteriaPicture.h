#pragma once
#include <QWidget>
#include <cstdint>

namespace panel {

class BatteryRecording;

// What Picture1 shows: the screen's start time, its time per division and the first sample
// that belongs to it. The samples drawn are those from first on that lie on the screen.
struct BatteryScreenState {
    uint32_t start = 0; // ms
    int32_t msPerDiv = 26;
    int first = 0; // index of the first sample of this screen
};

// Picture1 of the battery window: frame, grid and trace, painted from the recording and the
// screen state each time, so nothing is lost when it is covered or resized.
class BatteryPicture : public QWidget {
    Q_OBJECT
public:
    BatteryPicture(const BatteryRecording& rec, const BatteryScreenState& screen,
                   double twipsPerPixelX, double twipsPerPixelY, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const BatteryRecording& rec_;
    const BatteryScreenState& screen_;
    double tppX_;
    double tppY_;
};

} // namespace panel
