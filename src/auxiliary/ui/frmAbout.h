#pragma once
#include "base/ui/ChildWindow.h"

class QLabel;
class QPushButton;

namespace auxiliary {

// The about box: title and date, centred over the main window's client area. Window
// number 40; the About menu entry stays disabled while it is open.
class frmAbout : public base::ChildWindow {
    Q_OBJECT
public:
    // Outer size in twips.
    static constexpr int AboutWidth = 5400;
    static constexpr int AboutHeight = 2700;

    explicit frmAbout(base::WindowContext& ctx, QWidget* parent = nullptr);

    void Form_Load() override;
    // The about box holds no document: activating it runs the frame's ChildUnloaded, so
    // Close, Save and Save As are not offered while it is active.
    void Form_Activate() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutControls();

    QLabel* lblTitolo;
    QLabel* lblAutore;
    QPushButton* cmdOK;
};

} // namespace auxiliary
