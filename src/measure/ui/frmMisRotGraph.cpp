#include "base/MenuCaptions.h"
#include "base/NumberFormat.h"
#include "measure/GraphTimeBase.h"
#include "measure/RowLabels.h"
#include "measure/ui/MisRotPicture.h"
#include "measure/ui/frmMisRot.h"
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

namespace measure {

// --- graph ---------------------------------------------------------------------------

void frmMisRot::applyGraphSettings() {
    graph_.pictureWidth = Picture1->widthTwips();
    graph_.pictureHeight = Picture1->heightTwips();
    graph_.speedLow = VScroll[0]->value();
    graph_.speedHigh = VScroll[1]->value();
    graph_.bottomRaise = VScroll[2]->value();
    graph_.pulseRaise = VScroll[3]->value();
    graph_.coarse = HScrollTempoDiv->value();
    graph_.scanAuto = state_.scanAuto;
    graph_.syncTc = state_.syncTc;
    graph_.coil = {ctx.app.CoilVBatt, ctx.app.CoilL, ctx.app.CoilR, ctx.app.CoilRPlus};
    graph_.layout();
}

void frmMisRot::GrigliaDis() {
    applyGraphSettings();
    graph_.GrigliaDis(*Picture1);
    Picture1->update();
}

void frmMisRot::GrigliaDisScalaOrd() {
    const int h = Picture1->toPixelsY(240);
    const int w = Picture1->toPixelsX(600);
    for (int i = 0; i < 10; ++i) {
        QLabel* l = Ord[static_cast<size_t>(i)];
        l->hide();
        int y = 0;
        int rpm = 0;
        if (!graph_.scaleLabel(i, y, rpm)) continue;
        l->setText(QString::fromStdString(base::integer(rpm, ctx.texts.LangOffset)));
        l->setGeometry(Picture1->width() - w - Picture1->toPixelsX(20),
                       Picture1->toPixelsY(y) - h / 2, w, h);
        l->show();
    }
}

void frmMisRot::MisRotDiagrammaAgg(int redrawState) {
    if (!graphView()) return;
    applyGraphSettings();
    GrigliaDisScalaOrd();
    graph_.redrawState = redrawState;
    graph_.MisRotDiagrammaAgg(doc_.rows, *Picture1);
    Picture1->update();
}

void frmMisRot::HScrollTempoDiv_Change(int value) {
    if (ctx.app.WindowLoading) return;
    ctx.app.RotTimeDivPos = static_cast<uint8_t>(clampCoarse(value));
    {
        const QSignalBlocker block(HScrollTempoDivFine);
        HScrollTempoDivFine->setValue(kFineCentre);
    }
    showTimeBase(value);
    if (!state_.acquiring)
        MisRotDiagrammaAgg(RotationGraph::NewSweep);
    else
        graph_.redrawState = RotationGraph::NewSweep;
}

// The coarse time base chosen: its text and the fine one's, which starts from it.
void frmMisRot::showTimeBase(int coarse) {
    const CoarseTimeBase& base = kCoarseTimeBases[static_cast<size_t>(clampCoarse(coarse))];
    graph_.timeBaseUs = base.us;
    LabTempoDiv->setText(QString::fromLatin1(base.text));
    LabTempoDivFine->setText(
        QString::fromStdString(fineTimeBaseText(base.us, ctx.texts.LangOffset)));
}

void frmMisRot::HScrollTempoDivFine_Change(int value) {
    if (ctx.app.WindowLoading) return;
    graph_.timeBaseUs = fineTimeBase(HScrollTempoDiv->value(), value);
    LabTempoDivFine->setText(
        QString::fromStdString(fineTimeBaseText(graph_.timeBaseUs, ctx.texts.LangOffset)));
    if (!state_.acquiring)
        MisRotDiagrammaAgg(RotationGraph::NewSweepKeepPosition);
    else
        graph_.redrawState = RotationGraph::NewSweepKeepPosition;
}

void frmMisRot::HScrollTempoMem_Change(int value) {
    if (ctx.app.WindowLoading || state_.acquiring || value < 1) return;
    graph_.memoryPosition = static_cast<size_t>(value);
    LabContRighe->setText(QString::number(value));
    showRowLabels(static_cast<size_t>(value) - 1);
    MisRotDiagrammaAgg(RotationGraph::NewSweepKeepPosition);
}

void frmMisRot::VScroll12_Change() {
    if (ctx.app.WindowLoading) return;
    // The lower limit stays below the upper one.
    {
        const QSignalBlocker b0(VScroll[0]);
        const QSignalBlocker b1(VScroll[1]);
        VScroll[0]->setMaximum(VScroll[1]->value() - 1);
        VScroll[1]->setMinimum(VScroll[0]->value() + 1);
    }
    ctx.app.RotVScroll1 = static_cast<uint8_t>(VScroll[0]->value());
    ctx.app.RotVScroll2 = static_cast<uint8_t>(VScroll[1]->value());
    LabVScroll[0]->setText(QString::number(VScroll[0]->value()));
    scaleChanged(1);
}

void frmMisRot::VScroll3_Change(int value) {
    if (ctx.app.WindowLoading) return;
    ctx.app.RotVScroll3 = static_cast<uint8_t>(value);
    scaleChanged(2);
}

void frmMisRot::VScroll4_Change(int value) {
    if (ctx.app.WindowLoading) return;
    ctx.app.RotVScroll4 = static_cast<uint8_t>(value);
    scaleChanged(3);
}

// A vertical scale moved: its label, the speed scale and the graph follow. While acquiring
// the next row starts a fresh sweep with it.
void frmMisRot::scaleChanged(size_t bar) {
    LabVScroll[bar]->setText(QString::number(VScroll[bar]->value()));
    if (!state_.acquiring)
        MisRotDiagrammaAgg(RotationGraph::NewSweepKeepPosition);
    else
        graph_.redrawState = RotationGraph::NewSweepKeepPosition;
    applyGraphSettings();
    GrigliaDisScalaOrd();
}

} // namespace measure
