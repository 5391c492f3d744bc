#include "base/FileStore.h"
#include "measure/ui/RowListModel.h"
#include "measure/ui/frmMisAnt.h"
#include "protocol/Decoder.h"
#include "protocol/UnitLink.h"
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QFont>
#include <QLabel>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>

using namespace base;
using namespace protocol;
using namespace curve;

namespace measure {

// ---- closed-loop check ------------------------------------------------------------------

namespace {
constexpr int kSourceMdx = 0;
constexpr int kSourceMsx = 1;
} // namespace

// The sources of the programmed curve: either module of the unit, and every open curve
// window.
void frmMisAnt::fillSourceChoice() {
    const QString chosen = ComboSorgente->currentText();
    ComboSorgente->clear();
    ComboSorgente->addItems({QStringLiteral("MDX"), QStringLiteral("MSX")});
    for (const OpenCurveDocument& open : openCurveDocumentsOf(ctx.frame))
        ComboSorgente->addItem(caption("checkCurveWindow") + open.title,
                               QVariant::fromValue(const_cast<QObject*>(open.window)));
    const int again = ComboSorgente->findText(chosen);
    ComboSorgente->setCurrentIndex(again >= 0 ? again : kSourceMdx);
}

const OpenCurveDocument* frmMisAnt::chosenCurveWindow() {
    const QObject* chosen = ComboSorgente->currentData().value<QObject*>();
    openCurves_.clear();
    if (chosen) openCurves_ = openCurveDocumentsOf(ctx.frame);
    for (const OpenCurveDocument& open : openCurves_)
        if (open.window == chosen) return &open;
    return nullptr;
}

void frmMisAnt::ComVerifica_Click() {
    if (readBack_.running()) return;
    const int curveNo = ComboCurva->currentIndex() == 1 ? 2 : 1;
    const int source = ComboSorgente->currentIndex();
    if (source > kSourceMsx) {
        const OpenCurveDocument* open = chosenCurveWindow();
        if (!open) {
            fillSourceChoice();
            return;
        }
        setReferenceTable(open->document->curves[static_cast<size_t>(curveNo - 1)].CurveTable);
        return;
    }
    // The unit streams no revolutions while it is in programming mode, and its replies would
    // be taken for revolution data: a recording and a read-back exclude each other.
    if (running()) {
        LabVerifica->setText(caption("checkStopFirst"));
        return;
    }
    // Another window's mode comes first.
    if (const int blocker = ctx.link ? ctx.link->modeBlocker(base::AdvanceWindow) : 0) {
        LabVerifica->setText(
            QString::fromStdString(unitHeldNotice(*ctx.link, blocker, ctx.texts.LangOffset)));
        return;
    }
    // Read back from the module: the replies reach the wait through the decoder.
    if (ctx.targets) ctx.targets->addReplyListener(&wait_);
    readBack_.start(source == kSourceMdx, curveNo);
    LabVerifica->setText(caption("checkReading").arg(curveNo).arg(ComboSorgente->currentText()));
    checkTimer_->start();
    render();
}

void frmMisAnt::checkTick() {
    using Outcome = measure::TableReadBack::Outcome;
    if (!readBack_.running()) return;
    const Outcome outcome = readBack_.tick(checkTimer_->interval());
    if (outcome == Outcome::Running) return;
    endReadBack();
    if (outcome == Outcome::Completed) {
        setReferenceTable(readBack_.table());
        return;
    }
    LabVerifica->setText(caption(outcome == Outcome::WrongModule ? "checkWrongModule"
                                 : outcome == Outcome::Refused   ? "checkRefused"
                                                                 : "checkNoAnswer"));
}

// A recording that starts ends a running read-back: the unit goes back to run mode.
void frmMisAnt::cancelReadBackForRecording() {
    if (!readBack_.running()) return;
    endReadBack();
    LabVerifica->setText(caption("checkCancelledByRecording"));
}

void frmMisAnt::endReadBack() {
    checkTimer_->stop();
    readBack_.stop();
    if (ctx.targets) ctx.targets->removeReplyListener(&wait_);
    wait_.cancel();
    render();
}

void frmMisAnt::setReferenceTable(const curve::Table& table) {
    check_.setReference(table);
    scartiModel_->resetRows();
    compareNewRows();
    render();
    MADiagrammaDis();
}

// The rows not yet compared: their differences into ListScarti, the summary brought on.
void frmMisAnt::compareNewRows() {
    check_.compareNew(rows_);
    scartiModel_->publish();
    showSummary();
}

void frmMisAnt::showSummary() {
    LabVerifica->setText(QString::fromStdString(check_.summaryText(ctx.texts.LangOffset)));
}

} // namespace measure
