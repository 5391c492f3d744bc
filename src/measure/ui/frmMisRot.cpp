#include "measure/ui/frmMisRot.h"
#include "base/MenuCaptions.h"
#include "base/MonthNames.h"
#include "base/NumberFormat.h"
#include "base/PathNames.h"
#include "measure/CurrentMeasurement.h"
#include "measure/ExtendedRow.h"
#include "measure/GraphTimeBase.h"
#include "measure/LostMessagesNotice.h"
#include "measure/MrotFile.h"
#include "measure/NotesCutNotice.h"
#include "measure/RowLabels.h"
#include "measure/RowReader.h"
#include "measure/ui/CsvExportDialog.h"
#include "measure/ui/MeasurementSheet.h"
#include "measure/ui/MisRotPicture.h"
#include "measure/ui/RowListModel.h"
#include "measure/ui/RowListView.h"
#include "protocol/Decoder.h"
#include "protocol/UnitLink.h"
#include "protocol/ui/SilenceLabel.h"
#include "timing/modTimerExact.h"
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
using namespace protocol;

namespace measure {

namespace {
constexpr int kMsgInsertOnly = 1; // the text given

const QString kZeroTime = QStringLiteral("00:00:00,000");

// The extended table's header over its columns.
const QString kExtendedHeader =
    QStringLiteral("   Riga    Rot       Tc        Tb      DTb      Ta      T45       Tib     "
                   "Tss   TAnt  Ant      Tempo");

QString latin1(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
} // namespace

frmMisRot::frmMisRot(WindowContext& context, QWidget* parent)
    : ChildWindow(context, base::RotationWindow, parent), ComStop(new QPushButton(this)),
      ComSospendi(new QPushButton(this)), ComAttiva(new QPushButton(this)),
      ComNuovaMisura(new QPushButton(QStringLiteral("Nuova misura"), this)),
      ComSalva(new QPushButton(QStringLiteral("Salva"), this)),
      ComNote(new QPushButton(QStringLiteral("Note"), this)),
      ComAnticipo(new QPushButton(QStringLiteral("Anticipo"), this)),
      ComDatiGrafico(new QPushButton(this)), ComDatiEst(new QPushButton(this)),
      ComScanAuto(new QPushButton(this)), ComSincTc(new QPushButton(this)),
      ComEsporta(new QPushButton(
          QString::fromStdString(designCaption("ComEsporta", context.texts.LangOffset)), this)),
      Label1(new QLabel(latin1(kRotationHeader), this)), LabEst(new QLabel(kExtendedHeader, this)),
      List1(new RowListView(this)), ListEst(new RowListView(this)), Text1(new QPlainTextEdit(this)),
      LabContRighe(new QLabel(this)), LabTmpMis(new QLabel(kZeroTime, this)),
      LabPersi(new QLabel(this)), LabRot(new QLabel(this)), LabOrdUnita(new QLabel(this)),
      Picture1(new MisRotPicture(context.app.TwipsPerPixelX, context.app.TwipsPerPixelY, this)),
      HScrollTempoDiv(new QScrollBar(Qt::Horizontal, this)), LabTempoDiv(new QLabel(this)),
      HScrollTempoDivFine(new QScrollBar(Qt::Horizontal, this)), LabTempoDivFine(new QLabel(this)),
      HScrollTempoMem(new QScrollBar(Qt::Horizontal, this)),
      rowsModel_(new RowListModel(doc_.rows, this)),
      extendedModel_(new RowListModel(doc_.rows, this, &extendedRow)),
      refreshTimer_(new QTimer(this)) {
    setObjectName("frmMisRot");
    setProperty("menuEntry", QStringLiteral("mnuMisRot")); // one rotation window at a time
    const std::pair<QWidget*, const char*> names[] = {
        {ComStop, "ComStop"},
        {ComSospendi, "ComSospendi"},
        {ComAttiva, "ComAttiva"},
        {ComNuovaMisura, "ComNuovaMisura"},
        {ComSalva, "ComSalva"},
        {ComNote, "ComNote"},
        {ComAnticipo, "ComAnticipo"},
        {ComDatiGrafico, "ComDatiGrafico"},
        {ComDatiEst, "ComDatiEst"},
        {ComScanAuto, "ComScanAuto"},
        {ComSincTc, "ComSincTc"},
        {ComEsporta, "ComEsporta"},
        {Label1, "Label1"},
        {LabEst, "LabEst"},
        {List1, "List1"},
        {ListEst, "ListEst"},
        {Text1, "Text1"},
        {LabContRighe, "LabContRighe"},
        {LabTmpMis, "LabTmpMis"},
        {LabPersi, "LabPersi"},
        {LabRot, "LabRot"},
        {LabOrdUnita, "LabOrdUnita"},
        {Picture1, "Picture1"},
        {HScrollTempoDiv, "HScrollTempoDiv"},
        {LabTempoDiv, "LabTempoDiv"},
        {HScrollTempoDivFine, "HScrollTempoDivFine"},
        {LabTempoDivFine, "LabTempoDivFine"},
        {HScrollTempoMem, "HScrollTempoMem"},
    };
    for (const auto& [w, name] : names)
        w->setObjectName(name);
    LabOrdUnita->setText(QString::fromLatin1(base::rpmUnit(ctx.texts.LangOffset)));
    LabOrdUnita->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    refreshTimer_->setObjectName("TimerRefresh");
    LabNessunDato = new SilenceLabel(ctx.texts.LangOffset, ctx.link, this);
    for (int i = 0; i < 10; ++i) {
        QLabel* l = new QLabel(Picture1);
        l->setObjectName(QString("Ord_%1").arg(i));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->hide();
        Ord[static_cast<size_t>(i)] = l;
    }
    for (int i = 0; i < 4; ++i) {
        auto* bar = new QScrollBar(Qt::Vertical, this);
        bar->setObjectName(QString("VScroll%1").arg(i + 1));
        bar->setInvertedAppearance(true); // up is more
        bar->setPageStep(1);
        VScroll[static_cast<size_t>(i)] = bar;
        auto* label = new QLabel(this);
        label->setObjectName(QString("LabVScroll%1").arg(i + 1));
        label->setAlignment(Qt::AlignCenter);
        LabVScroll[static_cast<size_t>(i)] = label;
    }

    QFont mono(QStringLiteral("Courier New"), 10);
    mono.setStyleHint(QFont::TypeWriter);
    mono.setWeight(QFont::Normal);
    Label1->setFont(mono);
    LabEst->setFont(mono);
    Text1->setFont(mono);
    List1->setFont(mono);
    ListEst->setFont(mono);
    List1->setModel(rowsModel_);
    ListEst->setModel(extendedModel_);
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setUndoRedoEnabled(false);

    HScrollTempoDiv->setRange(0, kLastCoarse);
    HScrollTempoDiv->setPageStep(1);
    HScrollTempoDivFine->setRange(0, kFineMax);
    HScrollTempoDivFine->setPageStep(10);
    HScrollTempoMem->setRange(0, 0);
    HScrollTempoMem->setPageStep(10);
    VScroll[0]->setRange(0, 8);
    VScroll[1]->setRange(1, 20);
    VScroll[2]->setRange(0, 10);
    VScroll[3]->setRange(0, 30);

    refreshTimer_->setInterval(RefreshIntervalMs);

    connect(ComStop, &QPushButton::clicked, this, &frmMisRot::ComStop_Click);
    connect(ComSospendi, &QPushButton::clicked, this, &frmMisRot::ComSospendi_Click);
    connect(ComAttiva, &QPushButton::clicked, this, &frmMisRot::ComAttiva_Click);
    connect(ComNuovaMisura, &QPushButton::clicked, this, &frmMisRot::ComNuovaMisura_Click);
    connect(ComSalva, &QPushButton::clicked, this, &frmMisRot::ComSalva_Click);
    connect(ComNote, &QPushButton::clicked, this, &frmMisRot::ComNote_Click);
    connect(ComAnticipo, &QPushButton::clicked, this, &frmMisRot::ComAnticipo_Click);
    connect(ComDatiGrafico, &QPushButton::clicked, this, &frmMisRot::ComDatiGrafico_Click);
    connect(ComDatiEst, &QPushButton::clicked, this, &frmMisRot::ComDatiEst_Click);
    connect(ComScanAuto, &QPushButton::clicked, this, &frmMisRot::ComScanAuto_Click);
    connect(ComSincTc, &QPushButton::clicked, this, &frmMisRot::ComSincTc_Click);
    connect(ComEsporta, &QPushButton::clicked, this, &frmMisRot::ComEsporta_Click);
    connect(List1, &QAbstractItemView::clicked, this, &frmMisRot::List1_Click);
    connect(HScrollTempoDiv, &QScrollBar::valueChanged, this, &frmMisRot::HScrollTempoDiv_Change);
    connect(HScrollTempoDivFine, &QScrollBar::valueChanged, this,
            &frmMisRot::HScrollTempoDivFine_Change);
    connect(HScrollTempoMem, &QScrollBar::valueChanged, this, &frmMisRot::HScrollTempoMem_Change);
    connect(VScroll[0], &QScrollBar::valueChanged, this, &frmMisRot::VScroll12_Change);
    connect(VScroll[1], &QScrollBar::valueChanged, this, &frmMisRot::VScroll12_Change);
    connect(VScroll[2], &QScrollBar::valueChanged, this, &frmMisRot::VScroll3_Change);
    connect(VScroll[3], &QScrollBar::valueChanged, this, &frmMisRot::VScroll4_Change);
    connect(refreshTimer_, &QTimer::timeout, this, &frmMisRot::refreshViews);
    connect(Picture1, &MisRotPicture::resized, this, [this] {
        if (!graphView()) return;
        applyGraphSettings();
        if (state_.acquiring) {
            graph_.redrawState = RotationGraph::NewSweepKeepPosition;
            graph_.GrigliaDis(*Picture1);
        } else {
            MisRotDiagrammaAgg(RotationGraph::NewSweepKeepPosition);
        }
    });

    ComStop->installEventFilter(this);
    ComAttiva->installEventFilter(this);
    setFocusProxy(ComStop);
}

frmMisRot::~frmMisRot() {
    if (ctx.targets && ctx.targets->rotation == this) ctx.targets->rotation = nullptr;
    ctx.measurement->rotationNotesEdited = nullptr;
    if (ctx.measurement->rotationRows == &doc_.rows) {
        ctx.measurement->rotationRows = nullptr;
        if (AdvanceFollower* adv = ctx.measurement->advance) adv->followRowsGone();
    }
}

void frmMisRot::setMenus(std::initializer_list<const char*> entries, bool enabled) {
    if (!ctx.frame) return;
    for (const char* e : entries)
        ctx.frame->setMenuEntryEnabled(e, enabled);
}

void frmMisRot::Form_Load() {
    AppState& app = ctx.app;
    app.WindowLoading = true;
    placeAtLoad(LoadPlacement::ofSize(DefaultWidth, DefaultHeight)
                    .withMaxima(LoadPlacement::Maxima::WhenUnset));

    VScroll[1]->setValue(std::clamp<int>(app.RotVScroll2, 1, 20));
    VScroll[0]->setMaximum(VScroll[1]->value() - 1);
    VScroll[0]->setValue(std::min<int>(app.RotVScroll1, VScroll[0]->maximum()));
    VScroll[1]->setMinimum(VScroll[0]->value() + 1);
    VScroll[2]->setValue(std::clamp<int>(app.RotVScroll3, 0, 10));
    VScroll[3]->setValue(std::clamp<int>(app.RotVScroll4, 0, 30));
    for (size_t i = 0; i < 4; ++i)
        LabVScroll[i]->setText(QString::number(VScroll[i]->value()));
    HScrollTempoDivFine->setValue(kFineCentre);
    const int coarse = clampCoarse(app.RotTimeDivPos);
    HScrollTempoDiv->setValue(coarse);
    graph_.coarse = coarse;
    showTimeBase(coarse);
    layoutControls();

    setMenus({"mnuPannelloControllo", "mnuMisBatteria", "mnuMisRot"}, false);
    if (documentTaken_)
        showTakenDocument();
    else
        newMeasurement();
    render();
    setMenus({"mnuApriMrot"}, true);
    ctx.measurement->rotationNotesEdited = [this] { markModified(); };
    ctx.measurement->rotationRows = &doc_.rows;
    if (ctx.targets) ctx.targets->rotation = this;
    countIn();
    app.WindowLoading = false;
}

// --- state ---------------------------------------------------------------------------

bool frmMisRot::running() const {
    return state_.acquiring;
}
bool frmMisRot::graphView() const {
    return state_.view == RotationView::Graph;
}

// The buttons, the views and the Save entries as the situation has them.
void frmMisRot::render() {
    const RotationControls c = rotationControls(state_);
    const std::pair<QPushButton*, const char*> captions[] = {
        {ComStop, c.ComStop},       {ComSospendi, c.ComSospendi},
        {ComAttiva, c.ComAttiva},   {ComDatiGrafico, c.ComDatiGrafico},
        {ComDatiEst, c.ComDatiEst}, {ComScanAuto, c.ComScanAuto},
        {ComSincTc, c.ComSincTc}};
    for (const auto& [b, text] : captions)
        b->setText(QString::fromLatin1(text));
    ComSospendi->setEnabled(c.ComSospendiEnabled);
    ComNuovaMisura->setEnabled(c.ComNuovaMisuraEnabled);
    ComSalva->setEnabled(c.ComSalvaEnabled);
    ComDatiEst->setEnabled(c.ComDatiEstEnabled);
    ComScanAuto->setEnabled(c.ComScanAutoEnabled);
    ComEsporta->setEnabled(c.ComEsportaEnabled);
    setMenus({"mnuSalva", "mnuSalvaAs"}, c.saveEntries);
    Label1->setVisible(c.Label1);
    List1->setVisible(c.List1);
    Text1->setVisible(c.Text1);
    ListEst->setVisible(c.ListEst);
    LabEst->setVisible(c.ListEst);
    for (QWidget* w :
         {static_cast<QWidget*>(Picture1), static_cast<QWidget*>(HScrollTempoDiv),
          static_cast<QWidget*>(LabTempoDiv), static_cast<QWidget*>(HScrollTempoDivFine),
          static_cast<QWidget*>(LabTempoDivFine), static_cast<QWidget*>(HScrollTempoMem),
          static_cast<QWidget*>(LabOrdUnita)})
        w->setVisible(c.graph);
    for (size_t i = 0; i < 4; ++i) {
        VScroll[i]->setVisible(c.graph);
        LabVScroll[i]->setVisible(c.graph);
    }
}

void frmMisRot::setCaption(bool modified) {
    doc_.modified = modified;
    setWindowTitle(QString::fromLatin1(kCaption) + fromSystemPath(doc_.path) +
                   (modified ? "*" : ""));
}

void frmMisRot::markModified() {
    if (!windowTitle().endsWith('*')) setCaption(true);
    doc_.modified = true;
}

// --- rows ----------------------------------------------------------------------------

void frmMisRot::addRow(const MeasurementRow& row) {
    LabNessunDato->arrived();
    doc_.rows.append(row.text);
    lastRowNo_ = row.rowNo;
    lastElapsedUs_ = row.elapsedUs;
    rowsSinceRefresh_ = true;
    if (!state_.liveDisplay) return;
    if (graphView()) {
        // The graph view numbers its rows 1-32,000 and then starts again at 1.
        if (row.rowNo >= GraphRowWrap && ctx.decoder) ctx.decoder->RowCounter = 0;
    } else {
        live_.add(row.text, ctx.measurement->LiveTextCount);
        liveDirty_ = true;
    }
    if (!refreshTimer_->isActive()) refreshTimer_->start();
}

void frmMisRot::refreshViews() {
    if (!rowsSinceRefresh_ && !liveDirty_) {
        if (!state_.acquiring) refreshTimer_->stop();
    }
    const uint32_t lost = ctx.midi.ring.overruns() - overrunsAtStart_;
    if (lost > 0)
        LabPersi->setText(
            QString::fromStdString(measurementLostNotice(lost, ctx.texts.LangOffset)));
    if (!rowsSinceRefresh_ && !liveDirty_) return;
    rowsModel_->publish();
    if (rowsSinceRefresh_) {
        LabTmpMis->setText(QString::fromStdString(elapsedText(lastElapsedUs_)));
        LabContRighe->setText(QString::number(lastRowNo_));
        if (!doc_.rows.empty())
            LabRot->setText(QString::fromStdString(
                rowLabels(doc_.rows.row(doc_.rows.size() - 1), ctx.texts.LangOffset).speed));
    }
    if (liveDirty_) {
        Text1->setPlainText(QString::fromLatin1(live_.text()));
        liveDirty_ = false;
    }
    if (graphView() && state_.liveDisplay && graphDrawn_ < doc_.rows.size()) {
        graph_.drawLive(doc_.rows, graphDrawn_, doc_.rows.size(), *Picture1);
        graphDrawn_ = doc_.rows.size();
        showMemoryRange();
        Picture1->update();
    }
    graphDrawn_ = std::max(graphDrawn_, graphView() && state_.liveDisplay ? doc_.rows.size() : 0);
    rowsSinceRefresh_ = false;
}

// HScrollTempoMem runs over the rows held and stands at the memory position.
void frmMisRot::showMemoryRange() {
    const QSignalBlocker block(HScrollTempoMem);
    HScrollTempoMem->setRange(doc_.rows.empty() ? 0 : 1, static_cast<int>(doc_.rows.size()));
    HScrollTempoMem->setValue(static_cast<int>(graph_.memoryPosition));
}

// --- buttons -------------------------------------------------------------------------

void frmMisRot::ComStop_Click() {
    if (state_.acquiring)
        stopAcquisition();
    else
        startAcquisition();
}

void frmMisRot::startAcquisition() {
    if (!ctx.link) return;
    // In programming mode, EEPROM access or a battery recording the unit streams no
    // revolutions: say who holds it instead of recording an empty table.
    if (const int blocker = ctx.link->recordingBlocker()) {
        ctx.messages.ShowMsg(kMsgInsertOnly, ctx.app.MsgTitle,
                             unitHeldNotice(*ctx.link, blocker, ctx.texts.LangOffset));
        return;
    }
    if (AdvanceFollower* adv = ctx.measurement->advance) adv->followStart();
    if (state_.view == RotationView::Extended) state_.view = RotationView::Data;
    graph_.redrawState = RotationGraph::NewGraph;
    graphDrawn_ = doc_.rows.size();
    ctx.timer.clock().resetClock();
    ctx.link->startRecording(base::RotationWindow);
    LabNessunDato->start();
    overrunsAtStart_ = ctx.midi.ring.overruns();
    recordedHere_ = true;
    LabPersi->clear();
    state_.acquiring = true;
    state_.suspended = false;
    render();
    setMenus({"mnuPannelloControllo"}, false);
    markModified();
    refreshTimer_->start();
}

void frmMisRot::stopAcquisition() {
    // What the unit sent before Stop is still in the ring and belongs to the measurement.
    if (ctx.link) ctx.link->stopRecording(base::RotationWindow);
    LabNessunDato->stop();
    if (AdvanceFollower* adv = ctx.measurement->advance) adv->followStop();
    state_.acquiring = false;
    state_.saveOffered = true;
    refreshViews();
    refreshTimer_->stop();
    render();
    if (graphView() && !doc_.rows.empty()) {
        graph_.memoryPosition = 1;
        MisRotDiagrammaAgg(RotationGraph::NewGraph);
        showMemoryRange();
    }
    setMenus({"mnuPannelloControllo"}, true);
    if (graphView()) LabContRighe->setText(QString::number(HScrollTempoMem->value()));
}

void frmMisRot::ComSospendi_Click() {
    state_.suspended = !state_.suspended;
    render();
    if (ctx.link) ctx.link->suspend(state_.suspended);
}

void frmMisRot::ComAttiva_Click() {
    state_.liveDisplay = !state_.liveDisplay;
    render();
    // Rows that came while the display was off are drawn from the next sweep on.
    if (state_.liveDisplay) graphDrawn_ = doc_.rows.size();
}

void frmMisRot::newMeasurement() {
    Text1->clear();
    live_.clear();
    liveDirty_ = false;
    doc_.rows.clear();
    rowsModel_->resetRows();
    extendedModel_->resetRows();
    graphDrawn_ = 0;
    if (graphView()) GrigliaDis();
    if (ctx.decoder) ctx.decoder->newMeasurement();
    ctx.measurement->LiveTextCount = 0;
    ctx.measurement->NewMeasurement = true;
    lastRowNo_ = 0;
    lastElapsedUs_ = 0;
    LabTmpMis->setText(kZeroTime);
    LabContRighe->clear();
    LabRot->clear();
    graph_.memoryPosition = 1;
    showMemoryRange();
    graph_.redrawState = RotationGraph::NewGraph;
    if (AdvanceFollower* adv = ctx.measurement->advance) adv->followNewMeasurement();
    const QDate d = QDate::currentDate();
    const QTime t = QTime::currentTime();
    doc_.path =
        newMeasurementName(d.day(), std::string(monthAbbreviation(d.month(), ctx.app.LangCode)),
                           d.year(), t.hour(), t.minute(), t.second());
    setCaption(false);
    state_.saveOffered = false;
    render();
}

void frmMisRot::ComNuovaMisura_Click() {
    // Rows not yet saved are asked about before they make way for a new measurement.
    if (state_.acquiring || !askToSave()) return;
    newMeasurement();
}

void frmMisRot::ComEsporta_Click() {
    if (state_.acquiring) return;
    exportMeasurementCsv(ctx, doc_.rows, doc_.path);
}

void frmMisRot::ComSalva_Click() {
    if (state_.acquiring || !ctx.documents) return;
    ctx.documents->SaveDocument(this);
}

void frmMisRot::openEntry(const char* entry) {
    if (ctx.frame) ctx.frame->openChild(QString::fromLatin1(entry));
}

void frmMisRot::ComNote_Click() {
    openEntry("mnuMisRotNote");
}

void frmMisRot::ComAnticipo_Click() {
    ctx.app.CurrentWinNo = base::AdvanceWindow;
    openEntry("mnuMisAnt");
}

void frmMisRot::ComDatiGrafico_Click() {
    const bool toGraph = !graphView();
    state_.view = toGraph ? RotationView::Graph : RotationView::Data;
    render();
    layoutControls();
    if (!toGraph) {
        if (!state_.acquiring) rowsModel_->publish();
        return;
    }
    applyGraphSettings();
    GrigliaDisScalaOrd();
    graphDrawn_ = doc_.rows.size();
    if (doc_.rows.empty() || state_.acquiring) {
        graph_.redrawState = RotationGraph::NewGraph;
        GrigliaDis();
        return;
    }
    const QModelIndex sel = List1->currentIndex();
    if (sel.isValid()) {
        graph_.memoryPosition = static_cast<size_t>(sel.row()) + 1;
        showRowLabels(static_cast<size_t>(sel.row()));
    }
    showMemoryRange();
    MisRotDiagrammaAgg(RotationGraph::NewSweepKeepPosition);
}

void frmMisRot::ComDatiEst_Click() {
    if (state_.acquiring || graphView()) return;
    const bool toExtended = state_.view == RotationView::Data;
    state_.view = toExtended ? RotationView::Extended : RotationView::Data;
    if (toExtended) extendedModel_->resetRows();
    render();
}

void frmMisRot::ComScanAuto_Click() {
    state_.scanAuto = !state_.scanAuto;
    sweepOptionChanged();
}

void frmMisRot::ComSincTc_Click() {
    state_.syncTc = !state_.syncTc;
    sweepOptionChanged();
}

void frmMisRot::sweepOptionChanged() {
    render();
    applyGraphSettings();
    if (!state_.acquiring) MisRotDiagrammaAgg(RotationGraph::NewSweepKeepPosition);
}

void frmMisRot::showRowLabels(size_t rowIndex) {
    if (rowIndex >= doc_.rows.size()) return;
    const RowLabels labels = rowLabels(doc_.rows.row(rowIndex), ctx.texts.LangOffset);
    LabContRighe->setText(QString::fromStdString(labels.number));
    LabTmpMis->setText(QString::fromStdString(labels.time));
    LabRot->setText(QString::fromStdString(labels.speed));
}

void frmMisRot::List1_Click() {
    const QModelIndex i = List1->currentIndex();
    if (i.isValid()) showRowLabels(static_cast<size_t>(i.row()));
}

// --- keyboard ------------------------------------------------------------------------

bool frmMisRot::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == ComStop || watched == ComAttiva) &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        auto* key = static_cast<QKeyEvent*>(event);
        static constexpr int kMapped[] = {Qt::Key_Space, Qt::Key_O, Qt::Key_P, Qt::Key_S,
                                          Qt::Key_D,     Qt::Key_G, Qt::Key_N, Qt::Key_C};
        const bool mapped =
            std::find(std::begin(kMapped), std::end(kMapped), key->key()) != std::end(kMapped);
        if (!mapped || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) return false;
        if (event->type() == QEvent::KeyPress && !key->isAutoRepeat()) MRKeyDown(key->key());
        // The keys of the map are the map's: Space does not also press the button.
        return true;
    }
    return ChildWindow::eventFilter(watched, event);
}

void frmMisRot::MRKeyDown(int keyCode) {
    switch (keyCode) {
    case Qt::Key_Space:
        if (state_.acquiring) ComStop->click();
        break;
    case Qt::Key_O:
        ComNote->click();
        break;
    case Qt::Key_P:
        ComSospendi->click();
        break;
    case Qt::Key_S:
        ComSalva->click();
        break;
    case Qt::Key_D:
        ComAttiva->click();
        break;
    case Qt::Key_G:
        ComDatiGrafico->click();
        break;
    case Qt::Key_N:
        ComNuovaMisura->click();
        break;
    default:
        break;
    }
}

} // namespace measure
