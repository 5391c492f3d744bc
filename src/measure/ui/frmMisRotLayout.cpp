#include "base/MenuCaptions.h"
#include "measure/ui/MisRotPicture.h"
#include "measure/ui/RowListView.h"
#include "measure/ui/frmMisRot.h"
#include "protocol/ui/SilenceLabel.h"
#include <QCloseEvent>
#include <QDate>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTime>
#include <QTimer>
#include <algorithm>

using namespace base;

namespace measure {

namespace {
// Layout, twips.
constexpr int kGap = 60;
constexpr int kButtonWidth = 1300;
constexpr int kButtonHeight = 400;
constexpr int kLine = 255;
constexpr int kLabelsTop = kGap + kButtonHeight + kGap;
constexpr int kViewTop = kLabelsTop + kLine + kGap;
constexpr int kSideWidth = 1500; // the vertical scroll bars beside the graph
constexpr int kBarsHeight = 3 * (kLine + kGap) + kGap;
} // namespace

// --- layout --------------------------------------------------------------------------

void frmMisRot::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    layoutControls();
}

void frmMisRot::layoutControls() {
    const auto place = [this](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(toPixelsX(left), toPixelsY(top), toPixelsX(std::max(width, 15)),
                       toPixelsY(std::max(height, 15)));
    };
    const int clientW = toTwipsX(width());
    const int clientH = toTwipsY(height());
    int x = kGap;
    for (QPushButton* b :
         {ComStop, ComSospendi, ComAttiva, ComNuovaMisura, ComSalva, ComNote, ComAnticipo,
          ComDatiGrafico, ComDatiEst, ComScanAuto, ComSincTc, ComEsporta}) {
        place(b, x, kGap, kButtonWidth - kGap, kButtonHeight);
        x += kButtonWidth;
    }
    place(LabContRighe, kGap, kLabelsTop, 1200, kLine);
    place(LabTmpMis, kGap + 1300, kLabelsTop, 1800, kLine);
    place(LabRot, kGap + 3300, kLabelsTop, 1800, kLine);
    place(LabPersi, kGap + 5200, kLabelsTop, 3400, kLine);
    place(LabNessunDato, kGap + 8700, kLabelsTop, 4500, kLine);

    const int viewW = clientW - 2 * kGap;
    place(Label1, kGap, kViewTop, viewW, kLine);
    place(LabEst, kGap, kViewTop, viewW, kLine);
    const int listTop = kViewTop + kLine;
    const int listH = clientH - listTop - kGap;
    for (QWidget* w : {static_cast<QWidget*>(List1), static_cast<QWidget*>(ListEst),
                       static_cast<QWidget*>(Text1)})
        place(w, kGap, listTop, viewW, listH);

    const int picW = clientW - 2 * kGap - kSideWidth;
    const int picH = clientH - kViewTop - kBarsHeight - kGap;
    place(Picture1, kGap, kViewTop, picW, picH);
    const int barsTop = kViewTop + picH + kGap;
    place(HScrollTempoMem, kGap + RotationGraph::LeftEdge, barsTop,
          picW - RotationGraph::LeftEdge - RotationGraph::ScaleWidth, kLine);
    // The unit of the speed scale, under it.
    place(LabOrdUnita, kGap + picW - RotationGraph::ScaleWidth - 300, barsTop,
          RotationGraph::ScaleWidth + 280, kLine);
    place(HScrollTempoDiv, kGap + RotationGraph::LeftEdge, barsTop + kLine + kGap, 3000, kLine);
    place(LabTempoDiv, kGap + RotationGraph::LeftEdge + 3100, barsTop + kLine + kGap, 1500, kLine);
    place(HScrollTempoDivFine, kGap + RotationGraph::LeftEdge, barsTop + 2 * (kLine + kGap), 3000,
          kLine);
    place(LabTempoDivFine, kGap + RotationGraph::LeftEdge + 3100, barsTop + 2 * (kLine + kGap),
          2000, kLine);
    const int sideLeft = kGap + picW + kGap;
    const int barW = (kSideWidth - kGap) / 4;
    for (size_t i = 0; i < 4; ++i) {
        const int left = sideLeft + static_cast<int>(i) * barW;
        place(LabVScroll[i], left, kViewTop, barW, kLine);
        place(VScroll[i], left + barW / 4, kViewTop + kLine, barW / 2, picH - kLine);
    }
}

// The row of buttons whole, the labels, a graph of some height and its scroll bars.
QSize frmMisRot::minimumContentSize() const {
    return {toPixelsX(2 * kGap + 12 * kButtonWidth), toPixelsY(kViewTop + 1500 + kBarsHeight)};
}

} // namespace measure
