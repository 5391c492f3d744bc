#include "base/DocumentKinds.h"
#include "base/FileStore.h"
#include "base/PathNames.h"
#include "measure/MrotFile.h"
#include "measure/ui/CsvExportDialog.h"
#include "measure/ui/MeasurementReading.h"
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

namespace measure {

// ---- files ------------------------------------------------------------------------------

DocumentKind frmMisAnt::documentKind() {
    return documentKindFor(DocKind::Advance,
                           [](WindowContext& ctx, int, const std::string& path,
                              const std::string& bytes, int& refusal) -> ChildWindow* {
                               auto* w = new frmMisAnt(ctx);
                               if (w->readDocument(path, bytes)) return w;
                               delete w;
                               refusal = 4;
                               return nullptr;
                           });
}

bool frmMisAnt::readDocument(const std::string& path, std::string_view bytes) {
    clearMeasurement();
    rows_.showAll(measurement_.rows);
    if (!readMeasurementFile(ctx, path, bytes, measurement_.rows)) {
        clearMeasurement();
        return false;
    }
    measurement_.path = path;
    measurement_.modified = false;
    loaded_ = true;
    return true;
}

bool frmMisAnt::openDocument(const std::string& path) {
    const std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes || !readDocument(path, *bytes)) return false;
    showLoadedDocument();
    return true;
}

void frmMisAnt::showLoadedDocument() {
    list1Model_->resetRows();
    list2Model_->resetRows();
    if (!rows_.empty()) List1->setCurrentIndex(list1Model_->index(0));
    List1_Click();
    setWindowTitle(QString::fromLatin1(kCaption) +
                   fromSystemPath(fileNameOf(withoutTrailingBlanks(measurement_.path))));
    MADiagrammaDis();
    render();
}

std::string frmMisAnt::documentPath() const {
    return folderOf(measurement_.path).empty() ? std::string() : measurement_.path;
}

std::string frmMisAnt::documentBytes() {
    const RowSource& rows = rows_;
    return serializeMrot(writePath_.empty() ? measurement_.path : writePath_,
                         ctx.measurement->notesForSave(), rows.size(),
                         [&rows](size_t i) { return rows.row(i); });
}

void frmMisAnt::documentSaved(const std::string& path) {
    writePath_.clear();
    measurement_.path = path;
    measurement_.modified = false;
    setWindowTitle(QString::fromLatin1(kSavedCaption) + fromSystemPath(path));
}

void frmMisAnt::ComSalva_Click() {
    if (running() || !ctx.documents) return;
    ctx.documents->SaveDocument(this);
}

void frmMisAnt::ComEsporta_Click() {
    if (running()) return;
    exportMeasurementCsv(ctx, rows_, measurement_.path);
}

// ---- closing ----------------------------------------------------------------------------

// Rows recorded and not saved: asked about (Yes / No / Cancel) before they are thrown away.
// False: keep them (Cancel, or the save did not happen).
bool frmMisAnt::askToSave() {
    if (!measurement_.modified || rows_.empty() || !ctx.documents) return true;
    // A recording still running ends first: what is saved is complete.
    return ctx.documents->saveBeforeClosing(this, windowTitle().toStdString(), [this] {
        if (!running()) return;
        if (rotationOpen())
            followStop();
        else
            stopAcquisition();
    });
}

void frmMisAnt::closeEvent(QCloseEvent* event) {
    if (!closed_ && !askToSave()) {
        event->ignore();
        return;
    }
    if (!closed_) {
        closed_ = true;
        refreshTimer_->stop();
        if (readBack_.running()) endReadBack();
        if (ctx.link) ctx.link->windowClosed(base::AdvanceWindow);
        storePlacementAtUnload();
        if (ctx.targets && ctx.targets->advance == this) ctx.targets->advance = nullptr;
        if (ctx.measurement->advance == this) ctx.measurement->advance = nullptr;
        countOut();
    }
    event->accept();
}

} // namespace measure
