#pragma once
#include "auxiliary/ProgressPlacement.h"
#include "base/ui/ChildWindow.h"

class QLabel;
class QProgressBar;

namespace auxiliary {

struct TransferProgress;

// The progress window of long transfers: the phase in words, the bar, the percentage and
// the time left, centred over the child window that opened it. The opener sets the bar's
// range and value (or shows its progress) and unloads the window when done.
class frmProgressBar : public base::ChildWindow {
    Q_OBJECT
public:
    // Outer size in twips.
    static constexpr int BarWindowWidth = 4800;
    static constexpr int BarWindowHeight = 1800;

    explicit frmProgressBar(base::WindowContext& ctx, QWidget* parent = nullptr);

    // Creates the window in the main window's area over the opener (by default the active
    // child), loads and shows it without taking the focus from the window in use. The
    // window deletes itself when unloaded.
    static frmProgressBar* open(base::WindowContext& ctx, base::ChildWindow* opener = nullptr);

    // Places the window over the opener (or the active child) and sets CurrentWinNo from
    // that window's tag.
    void Form_Load() override;

    // The phase ("Scrittura curva 1 in MDX"), the bar at the share of the job done, and the
    // percentage with the time left.
    void showProgress(const QString& phase, const TransferProgress& progress);

    QProgressBar* ProgressBar1;
    QLabel* LabFase;
    QLabel* LabTempo;
    // The placement computed at load, twips, halves kept.
    const TwipRect& placement() const { return placement_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    TwipRect placement_;
    QWidget* opener_ = nullptr;
};

} // namespace auxiliary
