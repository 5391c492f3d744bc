#pragma once
#include "base/ui/ChildWindow.h"

class QLabel;
class QPushButton;
class QScrollBar;
class QTimer;

namespace timing {

// The precision timer window: starts and stops the shared 1 ms time base by hand and shows
// the time of day. It has no window record.
class frmTimerExact : public base::ChildWindow {
    Q_OBJECT
public:
    // Fixed outer size in twips.
    static constexpr int FixedWidth = 3000;
    static constexpr int FixedHeight = 2100;

    explicit frmTimerExact(base::WindowContext& ctx, QWidget* parent = nullptr);

    void Form_Load() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Command4_Click();
    void Command6_Click();
    void Timer2_Timer();
    void StartTimer1();
    void StopTimer1();
    void layoutControls();

    QPushButton* Command4;
    QPushButton* Command6;
    QLabel* Label3;
    QLabel* Label1;
    QLabel* Label4;
    QLabel* Label2;
    QTimer* Timer2;
    QScrollBar* VScroll1;

    int timerDelay_ = 0;      // ms, set to 1 at load
    int timerResolution_ = 0; // ms, the finest the system offers
};

} // namespace timing
