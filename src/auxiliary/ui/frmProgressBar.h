#pragma once
#include "app/ui/ChildWindow.h"
#include "auxiliary/ProgressPlacement.h"

class QProgressBar;

// The progress window of long transfers: one bar, centred over the child window that
// opened it. The opener sets the bar's range and value and unloads the window when done.
class frmProgressBar : public ChildWindow {
    Q_OBJECT
public:
    // Outer size in twips.
    static constexpr int BarWindowWidth = 4800;
    static constexpr int BarWindowHeight = 1050;

    explicit frmProgressBar(WindowContext& ctx, QWidget* parent = nullptr);

    // Creates the window in the main window's area over the active child, loads and shows
    // it. The window deletes itself when unloaded.
    static frmProgressBar* open(WindowContext& ctx);

    // Places the window over the active child and sets CurrentWinNo from that child's tag.
    void Form_Load() override;

    QProgressBar* ProgressBar1;
    // The placement computed at load, twips, halves kept.
    const TwipRect& placement() const { return placement_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    TwipRect placement_;
};
