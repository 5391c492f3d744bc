#include "app/FileStore.h"
#include "app/ui/DocumentDispatch.h"
#include "measure/MrotFile.h"
#include "measure/ui/CsvExportDialog.h"
#include "measure/ui/MeasurementReading.h"
#include "measure/ui/RowListModel.h"
#include "measure/ui/frmMisAnt.h"
#include "midi/Decoder.h"
#include "midi/UnitLink.h"
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

namespace {
QString fileNameOf(const std::string& path) {
    const size_t cut = path.find_last_of("/\\");
    std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
    name.erase(name.find_last_not_of(' ') + 1);
    return fromSystemPath(name);
}

std::string folderOfPath(const std::string& path) {
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}
} // namespace

// ---- files ------------------------------------------------------------------------------

DocumentKind frmMisAnt::documentKind() {
    DocumentKind kind;
    kind.firstWindow = kind.lastWindow = win::Advance;
    kind.extension = "mant";
    kind.measurement = true;
    kind.openFilter = "Misura Anticipo (*.mant)";
    kind.saveFilter = "Misura Anticipo (*.mant *.mrot)";
    kind.extensions = {"mant"};
    kind.read = [](WindowContext& ctx, int, const std::string& path, const std::string& bytes,
                   int& refusal) -> ChildWindow* {
        auto* w = new frmMisAnt(ctx);
        if (w->readDocument(path, bytes)) return w;
        delete w;
        refusal = 4;
        return nullptr;
    };
    return kind;
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
    setWindowTitle(QString::fromLatin1(kCaption) + fileNameOf(measurement_.path));
    MADiagrammaDis();
    render();
}

std::string frmMisAnt::documentPath() const {
    return folderOfPath(measurement_.path).empty() ? std::string() : measurement_.path;
}

std::string frmMisAnt::documentBytes() {
    const RowSource& rows = rows_;
    return serializeMrot(writePath_.empty() ? measurement_.path : writePath_,
                         ctx.app.Measurement.notesForSave(), rows.size(),
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
    exportMeasurementCsv(this, ctx, rows_, measurement_.path, choosePath_);
}

// ---- closing ----------------------------------------------------------------------------

// Rows recorded and not saved: asked about (Yes / No / Cancel) before they are thrown away.
// False: keep them (Cancel, or the save did not happen).
bool frmMisAnt::askToSave() {
    if (!measurement_.modified || rows_.empty() || !ctx.documents) return true;
    switch (ctx.documents->AskSaveChanges(1, windowTitle().toStdString())) {
    case Notifier::Answer::Cancel:
        return false;
    case Notifier::Answer::No:
        return true;
    case Notifier::Answer::Yes:
        break;
    }
    // A recording still running ends first: what is saved is complete.
    if (running()) {
        if (rotationOpen())
            followStop();
        else
            stopAcquisition();
    }
    return ctx.documents->SaveDocument(this);
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
        if (ctx.link) ctx.link->windowClosed(win::Advance);
        storePlacementAtUnload();
        if (ctx.targets && ctx.targets->advance == this) ctx.targets->advance = nullptr;
        if (ctx.app.Measurement.advance == this) ctx.app.Measurement.advance = nullptr;
        countOut();
    }
    event->accept();
}
