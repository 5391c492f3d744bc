#include "base/MenuCaptions.h"
#include "base/PathNames.h"
#include "measure/CurrentMeasurement.h"
#include "measure/MrotFile.h"
#include "measure/RowLabels.h"
#include "measure/RowReader.h"
#include "measure/ui/MeasurementReading.h"
#include "measure/ui/MeasurementSheet.h"
#include "measure/ui/RowListModel.h"
#include "measure/ui/RowListView.h"
#include "measure/ui/frmMisRot.h"
#include "protocol/Decoder.h"
#include "protocol/UnitLink.h"
#include "transport/MidiPort.h"
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

// --- files ---------------------------------------------------------------------------

std::string frmMisRot::documentPath() const {
    if (doc_.path.find(kPathSeparator) != std::string::npos) return doc_.path;
    return ctx.app.AppFolder + kPathSeparator + doc_.path;
}

std::string frmMisRot::documentBytes() {
    const RowStore& rows = doc_.rows;
    return serializeMrot(writePath_.empty() ? documentPath() : writePath_,
                         ctx.measurement->notesForSave(), rows.size(),
                         [&rows](size_t i) { return rows.row(i); });
}

void frmMisRot::documentSaved(const std::string& path) {
    writePath_.clear();
    doc_.path = path;
    setCaption(false);
}

bool frmMisRot::takeDocument(const std::string& path, const std::string& bytes) {
    if (!readMeasurementFile(ctx, path, bytes, doc_.rows)) return false;
    doc_.path = path;
    documentTaken_ = true;
    return true;
}

void frmMisRot::showTakenDocument() {
    rowsModel_->resetRows();
    extendedModel_->resetRows();
    // The caption shows the file name.
    setWindowTitle(QString::fromLatin1(kCaption) + fromSystemPath(fileNameOf(doc_.path)));
    doc_.modified = false;
    const RowStore& rows = doc_.rows;
    if (!rows.empty()) {
        List1->setCurrentIndex(rowsModel_->index(0, 0));
        showRowLabels(0);
    }
    graph_.memoryPosition = 1;
    showMemoryRange();
    state_.saveOffered = true;
}

// --- unload --------------------------------------------------------------------------

bool frmMisRot::askToSave() {
    if (!doc_.modified || (doc_.rows.empty() && !state_.acquiring)) return true;
    // Rows recorded and not saved: ask before they are thrown away.
    return !ctx.documents ||
           ctx.documents->saveBeforeClosing(this, windowTitle().toStdString(), [this] {
               if (state_.acquiring) stopAcquisition();
           });
}

void frmMisRot::closeEvent(QCloseEvent* event) {
    if (!closed_ && !askToSave()) {
        event->ignore();
        return;
    }
    if (!closed_) {
        closed_ = true;
        if (state_.acquiring) {
            if (ctx.link) ctx.link->stopRecording(base::RotationWindow);
            // An advance window that followed this Start stops with it.
            if (AdvanceFollower* adv = ctx.measurement->advance) adv->followStop();
        }
        state_.acquiring = false;
        refreshTimer_->stop();
        if (ctx.link) ctx.link->windowClosed(base::RotationWindow);
        storePlacementAtUnload();
        if (ctx.targets && ctx.targets->rotation == this) ctx.targets->rotation = nullptr;
        ctx.measurement->rotationNotesEdited = nullptr;
        ctx.measurement->rotationRows = nullptr;
        if (AdvanceFollower* adv = ctx.measurement->advance) adv->followRowsGone();
        setMenus({"mnuPannelloControllo", "mnuMisBatteria", "mnuMisRot"}, true);
        countOut();
    }
    event->accept();
}

QString frmMisRot::sheetTitle(int langOffset) const {
    return measurementSheetTitle(langOffset);
}

void frmMisRot::paintSheet(SheetPainter& sheet) {
    MeasurementSheetData data = sheetDataOf(documentPath(), ctx.measurement->Notes, doc_.rows);
    if (recordedHere_) data.lost = ctx.midi.ring.overruns() - overrunsAtStart_;
    data.graph = graph_;
    paintMeasurementSheet(sheet, data);
}

} // namespace measure
