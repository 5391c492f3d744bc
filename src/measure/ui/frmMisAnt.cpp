#include "measure/ui/frmMisAnt.h"
#include "base/FileStore.h"
#include "base/MenuCaptions.h"
#include "base/MonthNames.h"
#include "base/NumberFormat.h"
#include "base/PathNames.h"
#include "measure/LostMessagesNotice.h"
#include "measure/MrotFile.h"
#include "measure/NotesCutNotice.h"
#include "measure/RowLabels.h"
#include "measure/ui/CsvExportDialog.h"
#include "measure/ui/RowListModel.h"
#include "measure/ui/frmMisAntPicture.h"
#include "protocol/Decoder.h"
#include "protocol/MeasurementRow.h"
#include "protocol/UnitLink.h"
#include "protocol/ui/SilenceLabel.h"
#include "transport/MidiPort.h"
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

namespace measure {

namespace {
constexpr int kMsgInsertOnly = 1; // the text given
const QString kNoTime = QStringLiteral("00:00:000.000");
// Text1 keeps this much of its newest text each time the live-text counter reaches 300.
constexpr int kLiveTextRows = 300;
constexpr int kLiveTextKeep = 2080;

// The limits of the axes, kept while the program runs.
struct Limits {
    int speedLow = 0, speedHigh = AdvanceDiagram::SpeedMax;
    int advanceLow = 0, advanceHigh = 5;
};
Limits gLimits;

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLabel* label(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    return l;
}

QScrollBar* scrollBar(QWidget* parent, const char* name, Qt::Orientation o, int max, int value) {
    auto* s = new QScrollBar(o, parent);
    s->setObjectName(name);
    s->setRange(0, max);
    s->setPageStep(1);
    s->setValue(value);
    return s;
}

QFont listFont() {
    QFont f(QStringLiteral("Courier New"), 10);
    f.setStyleHint(QFont::TypeWriter);
    return f;
}

QString latin1(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

frmMisAnt::frmMisAnt(WindowContext& context, QWidget* parent)
    : ChildWindow(context, base::AdvanceWindow, parent),
      readBack_(context.midi, wait_, context.link), ComStop(button(this, "ComStop", {})),
      ComSospendi(button(this, "ComSospendi", {})), ComAttiva(button(this, "ComAttiva", {})),
      ComNuovaMisura(button(this, "ComNuovaMisura", QStringLiteral("Nuova misura"))),
      ComSalva(button(this, "ComSalva", QStringLiteral("Salva"))),
      ComNote(button(this, "ComNote", QStringLiteral("Note"))),
      ComDatiGrafico(button(this, "ComDatiGrafico", {})),
      ComEsporta(button(this, "ComEsporta", caption("ComEsporta"))), List1(new QListView(this)),
      List2(new QListView(this)), Text1(new QPlainTextEdit(this)),
      Picture1(new frmMisAntPicture(diagram_, context.app.TwipsPerPixelX,
                                    context.app.TwipsPerPixelY, this)),
      HScroll1(
          scrollBar(this, "HScroll1", Qt::Horizontal, AdvanceDiagram::SpeedMax, gLimits.speedHigh)),
      HScroll2(
          scrollBar(this, "HScroll2", Qt::Horizontal, AdvanceDiagram::SpeedMax, gLimits.speedLow)),
      VScroll1(scrollBar(this, "VScroll1", Qt::Vertical, AdvanceDiagram::AdvanceMax,
                         gLimits.advanceHigh)),
      VScroll2(scrollBar(this, "VScroll2", Qt::Vertical, AdvanceDiagram::AdvanceMax,
                         gLimits.advanceLow)),
      LabTmpMis(label(this, "LabTmpMis")), LabContRighe(label(this, "LabContRighe")),
      LabPersi(label(this, "LabPersi")), LabRot(label(this, "LabRot")),
      LabAscUnita(label(this, "LabAscUnita")), LabIntestazione(label(this, "LabIntestazione")),
      ComboSorgente(new QComboBox(this)), ComboCurva(new QComboBox(this)),
      ComVerifica(button(this, "ComVerifica", caption("ComVerifica"))),
      LabVerifica(label(this, "LabVerifica")), ListScarti(new QListView(this)),
      list1Model_(new RowListModel(rows_, this, &advanceRowFromText)),
      list2Model_(new RowListModel(rows_, this)),
      scartiModel_(new RowListModel(check_.differences(), this)), checkTimer_(new QTimer(this)),
      refreshTimer_(new QTimer(this)) {
    setObjectName("frmMisAnt");
    List1->setObjectName("List1");
    ComboSorgente->setObjectName("ComboSorgente");
    ComboCurva->setObjectName("ComboCurva");
    for (const char* n : {"1", "2"})
        ComboCurva->addItem(caption("ComboCurva").replace('_', QLatin1String(n)));
    LabAscUnita->setText(QString::fromLatin1(base::rpmUnit(ctx.texts.LangOffset)));
    LabAscUnita->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    rows_.showAll(measurement_.rows);
    ListScarti->setObjectName("ListScarti");
    ListScarti->setModel(scartiModel_);
    ListScarti->setUniformItemSizes(true);
    ListScarti->setFont(listFont());
    LabVerifica->setWordWrap(true);
    checkTimer_->setObjectName("TimerVerifica");
    checkTimer_->setInterval(10);
    List2->setObjectName("List2");
    Text1->setObjectName("Text1");
    Picture1->setObjectName("Picture1");
    for (size_t i = 0; i < LabAsc.size(); ++i) {
        LabAsc[i] = label(this, "LabAsc");
        LabAsc[i]->setObjectName(QString("LabAsc_%1").arg(i));
        LabAsc[i]->setAlignment(Qt::AlignCenter);
    }
    for (size_t i = 0; i < LabOrd.size(); ++i) {
        LabOrd[i] = label(this, "LabOrd");
        LabOrd[i]->setObjectName(QString("LabOrd_%1").arg(i));
        LabOrd[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    const QFont mono = listFont();
    for (QWidget* w : {static_cast<QWidget*>(List1), static_cast<QWidget*>(Text1),
                       static_cast<QWidget*>(LabIntestazione)})
        w->setFont(mono);
    List1->setModel(list1Model_);
    List1->setUniformItemSizes(true);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List2->setModel(list2Model_);
    List2->setUniformItemSizes(true);
    List2->hide(); // the rotation rows saved, never shown
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    LabIntestazione->setText(latin1(kAdvanceHeader));
    // over the list's text, inside its frame and margin
    LabIntestazione->setIndent(List1->frameWidth() + 3);
    LabNessunDato = new SilenceLabel(ctx.texts.LangOffset, ctx.link, this);
    LabPersi->setStyleSheet(QStringLiteral("color: #b00000"));
    LabPersi->hide();
    // The vertical bars have their larger values at the top.
    VScroll1->setInvertedAppearance(true);
    VScroll2->setInvertedAppearance(true);
    refreshTimer_->setInterval(RefreshMs);

    connect(ComStop, &QPushButton::clicked, this, &frmMisAnt::ComStop_Click);
    connect(ComSospendi, &QPushButton::clicked, this, &frmMisAnt::ComSospendi_Click);
    connect(ComAttiva, &QPushButton::clicked, this, &frmMisAnt::ComAttiva_Click);
    connect(ComNuovaMisura, &QPushButton::clicked, this, &frmMisAnt::ComNuovaMisura_Click);
    connect(ComSalva, &QPushButton::clicked, this, &frmMisAnt::ComSalva_Click);
    connect(ComNote, &QPushButton::clicked, this, &frmMisAnt::ComNote_Click);
    connect(ComDatiGrafico, &QPushButton::clicked, this, &frmMisAnt::ComDatiGrafico_Click);
    connect(ComEsporta, &QPushButton::clicked, this, &frmMisAnt::ComEsporta_Click);
    connect(List1, &QListView::clicked, this, &frmMisAnt::List1_Click);
    for (QScrollBar* s : {HScroll1, HScroll2, VScroll1, VScroll2})
        connect(s, &QScrollBar::valueChanged, this, &frmMisAnt::limitsChanged);
    connect(refreshTimer_, &QTimer::timeout, this, &frmMisAnt::refresh);
    connect(ComVerifica, &QPushButton::clicked, this, &frmMisAnt::ComVerifica_Click);
    connect(checkTimer_, &QTimer::timeout, this, &frmMisAnt::checkTick);
    buildLayerControls();
}

frmMisAnt::~frmMisAnt() {
    if (ctx.targets) ctx.targets->removeReplyListener(&wait_);
    if (ctx.targets && ctx.targets->advance == this) ctx.targets->advance = nullptr;
    if (ctx.measurement->advance == this) ctx.measurement->advance = nullptr;
}

void frmMisAnt::Form_Load() {
    ctx.app.WindowLoading = true;
    placeAtLoad(LoadPlacement::ofSize(DefaultWidth, DefaultHeight));

    diagram_.speedLow = gLimits.speedLow;
    diagram_.speedHigh = gLimits.speedHigh;
    diagram_.advanceLow = gLimits.advanceLow;
    diagram_.advanceHigh = gLimits.advanceHigh;
    layoutControls();
    diagram_.resize(PictureWidth, PictureHeight);
    if (loaded_) {
        showLoadedDocument();
    } else {
        clearMeasurement();
        newDocumentName();
    }
    render();

    fillSourceChoice();
    if (QMdiArea* area = ctx.frame ? ctx.frame->mdiArea() : nullptr)
        connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
            if (sub && sub->widget() == this) fillSourceChoice();
        });
    if (ctx.targets) ctx.targets->advance = this;
    ctx.measurement->advance = this;
    countIn();
    ctx.app.WindowLoading = false;
    // Opened while the rotation window records: this window follows it from its next row.
    if (ctx.link && ctx.link->recording(base::RotationWindow)) followStart();
}

bool frmMisAnt::rotationOpen() const {
    return ctx.app.WinRec[base::RotationWindow].State == 1;
}

bool frmMisAnt::running() const {
    return state_.acquiring;
}

QString frmMisAnt::caption(const char* key) const {
    return QString::fromStdString(designCaption(key, ctx.texts.LangOffset));
}

// ---- views ------------------------------------------------------------------------------

// The buttons, the views and the Save entries as the situation has them.
void frmMisAnt::render() {
    state_.readingBack = readBack_.running();
    state_.checking = check_.reference().has_value();
    const AdvanceControls c = advanceControls(state_);
    ComStop->setText(QString::fromLatin1(c.ComStop));
    ComSospendi->setText(QString::fromLatin1(c.ComSospendi));
    ComAttiva->setText(QString::fromLatin1(c.ComAttiva));
    ComDatiGrafico->setText(QString::fromLatin1(c.ComDatiGrafico));
    ComSospendi->setEnabled(c.ComSospendiEnabled);
    ComNuovaMisura->setEnabled(c.ComNuovaMisuraEnabled);
    ComSalva->setEnabled(c.ComSalvaEnabled);
    ComEsporta->setEnabled(c.ComEsportaEnabled);
    ComVerifica->setEnabled(c.ComVerificaEnabled);
    if (ctx.frame && !ctx.app.WindowLoading) {
        ctx.frame->setMenuEntryEnabled("mnuSalva", c.ComSalvaEnabled);
        ctx.frame->setMenuEntryEnabled("mnuSalvaAs", c.ComSalvaEnabled);
    }
    List1->setVisible(c.List1);
    Text1->setVisible(c.Text1);
    LabIntestazione->setVisible(c.LabIntestazione);
    ListScarti->setVisible(c.ListScarti);
    for (QWidget* w : {static_cast<QWidget*>(Picture1), static_cast<QWidget*>(HScroll1),
                       static_cast<QWidget*>(HScroll2), static_cast<QWidget*>(VScroll1),
                       static_cast<QWidget*>(VScroll2), static_cast<QWidget*>(LabAscUnita)})
        w->setVisible(c.graph);
    placeAxisLabels();
    if (c.graph) Picture1->update();
}

void frmMisAnt::ComDatiGrafico_Click() {
    state_.graph = !state_.graph;
    render();
}

void frmMisAnt::showAcquiring(bool acquiring) {
    state_.acquiring = acquiring;
    state_.suspended = false;
    if (acquiring) {
        refreshTimer_->start();
        LabNessunDato->start();
    } else {
        refreshTimer_->stop();
        LabNessunDato->stop();
        refresh();
        const QModelIndex current = List1->currentIndex();
        if (!current.isValid() && !rows_.empty()) List1->setCurrentIndex(list1Model_->index(0));
        List1_Click();
    }
    render();
}

// ---- acquisition ------------------------------------------------------------------------

void frmMisAnt::ComStop_Click() {
    // While the rotation window is open its ComStop drives this window.
    if (rotationOpen()) return;
    if (running())
        stopAcquisition();
    else
        startAcquisition();
}

void frmMisAnt::startAcquisition() {
    if (!ctx.link) return;
    cancelReadBackForRecording();
    // In programming mode, EEPROM access or a battery recording the unit streams no
    // revolutions: say who holds it instead of recording an empty table.
    if (const int blocker = ctx.link->recordingBlocker()) {
        ctx.messages.ShowMsg(kMsgInsertOnly, ctx.app.MsgTitle,
                             unitHeldNotice(*ctx.link, blocker, ctx.texts.LangOffset));
        return;
    }
    overrunsAtStart_ = ctx.midi.ring.overruns();
    ctx.link->startRecording(base::AdvanceWindow);
    showAcquiring(true);
}

void frmMisAnt::stopAcquisition() {
    if (ctx.link) ctx.link->stopRecording(base::AdvanceWindow);
    showAcquiring(false);
}

void frmMisAnt::followStart() {
    cancelReadBackForRecording();
    overrunsAtStart_ = ctx.midi.ring.overruns();
    // The rows are the rotation window's; rows of this window's own (a file read while the
    // rotation window was closed) go on being kept here, the new ones after them.
    const RowStore* rotation = ctx.measurement->rotationRows;
    if (rotation && rows_.store() != rotation && measurement_.rows.empty()) rows_.follow(*rotation);
    rows_.resume();
    if (ctx.link) ctx.link->startRecording(base::AdvanceWindow, true);
    showAcquiring(true);
}

void frmMisAnt::followStop() {
    if (ctx.link) ctx.link->stopRecording(base::AdvanceWindow);
    if (rows_.store() != &measurement_.rows) rows_.pause();
    showAcquiring(false);
}

void frmMisAnt::followNewMeasurement() {
    clearMeasurement();
}

// The rows read from the rotation window become this window's own.
void frmMisAnt::followRowsGone() {
    if (rows_.store() == &measurement_.rows) return;
    RowStore& own = measurement_.rows;
    for (size_t i = 0; i < rows_.size(); ++i)
        own.append(rows_.row(i));
    rows_.showAll(own);
}

void frmMisAnt::ComSospendi_Click() {
    state_.suspended = !state_.suspended;
    if (rows_.store() != &measurement_.rows) {
        if (state_.suspended)
            rows_.pause();
        else
            rows_.resume();
    }
    render();
}

void frmMisAnt::ComAttiva_Click() {
    state_.liveDisplay = !state_.liveDisplay;
    render();
}

void frmMisAnt::addRow(const MeasurementRow& row) {
    LabNessunDato->arrived();
    if (state_.suspended) return;
    const std::string advance = advanceRow(row.text, row.Ta, row.Tss, row.Tc);
    // Following the rotation window, the row is already in its store.
    if (rows_.store() == &measurement_.rows) measurement_.rows.append(row.text);
    // The caption says that there are rows not saved, as the rotation window's does.
    if (!measurement_.modified) setWindowTitle(windowTitle() + QLatin1Char('*'));
    measurement_.modified = true;
    if (state_.liveDisplay) {
        liveText_.prepend(latin1(advance) + QLatin1Char('\n'));
        liveDirty_ = true;
        int& count = ctx.measurement->LiveTextCount;
        if (++count >= kLiveTextRows) {
            liveText_.truncate(kLiveTextKeep);
            count = 0;
        }
    }
    if (const auto point = advancePoint(advance)) Picture1->plot(*point);
    if (!refreshTimer_->isActive()) refreshTimer_->start();
}

// Brings the views up to date with the rows received since the last refresh.
void frmMisAnt::refresh() {
    list1Model_->publish();
    list2Model_->publish();
    if (liveDirty_) {
        Text1->setPlainText(liveText_);
        liveDirty_ = false;
    }
    if (!rows_.empty()) showRowLabels(rows_.size() - 1);
    if (check_.reference()) compareNewRows();
    const uint32_t lost = ctx.midi.ring.overruns() - overrunsAtStart_;
    if (lost > 0) {
        LabPersi->setText(
            QString::fromStdString(measurementLostNotice(lost, ctx.texts.LangOffset)));
        LabPersi->show();
    }
    Picture1->update();
    if (!running()) refreshTimer_->stop();
}

void frmMisAnt::showRowLabels(size_t index) {
    const RowLabels labels = rowLabels(rows_.row(index), ctx.texts.LangOffset);
    LabTmpMis->setText(QString::fromStdString(labels.time));
    LabContRighe->setText(QString::fromStdString(labels.number));
    LabRot->setText(QString::fromStdString(labels.speed));
}

void frmMisAnt::List1_Click() {
    const QModelIndex index = List1->currentIndex();
    if (index.isValid() && static_cast<size_t>(index.row()) < rows_.size())
        showRowLabels(static_cast<size_t>(index.row()));
}

// ---- measurement ------------------------------------------------------------------------

void frmMisAnt::clearMeasurement() {
    measurement_.clear();
    rows_.clear();
    list1Model_->resetRows();
    list2Model_->resetRows();
    liveText_.clear();
    Text1->clear();
    LabTmpMis->setText(kNoTime);
    LabContRighe->clear();
    LabRot->clear();
    check_.restart();
    scartiModel_->resetRows();
    showSummary();
    MADiagrammaDis();
}

void frmMisAnt::newDocumentName() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    measurement_.path =
        newMeasurementName(d.day(), std::string(monthAbbreviation(d.month(), ctx.app.LangCode)),
                           d.year(), t.hour(), t.minute(), t.second());
    measurement_.modified = false;
    setWindowTitle(QString::fromLatin1(kCaption) + fromSystemPath(measurement_.path));
}

void frmMisAnt::ComNuovaMisura_Click() {
    if (running() || !askToSave()) return;
    clearMeasurement();
    // With the rotation window open the counters are its measurement's.
    if (!rotationOpen() && ctx.link) ctx.link->newMeasurement();
    ctx.measurement->NewMeasurement = true;
    ctx.measurement->LiveTextCount = 0;
    newDocumentName();
}

void frmMisAnt::ComNote_Click() {
    if (ctx.frame) ctx.frame->openChild(QStringLiteral("mnuMisRotNote"));
}

// ---- diagram ----------------------------------------------------------------------------

void frmMisAnt::MADiagrammaDis() {
    Picture1->clear();
    Picture1->setReference(check_.reference() ? referenceCurve(*check_.reference())
                                              : std::vector<AdvancePoint>{});
    placeAxisLabels();
    for (size_t i = 0; i < rows_.size(); ++i)
        if (const auto point = advancePoint(advanceRowFromText(rows_.row(i))))
            Picture1->plot(*point);
    Picture1->update();
}

void frmMisAnt::limitsChanged() {
    if (ctx.app.WindowLoading) return;
    gLimits.speedHigh = HScroll1->value();
    gLimits.speedLow = HScroll2->value();
    gLimits.advanceHigh = VScroll1->value();
    gLimits.advanceLow = VScroll2->value();
    diagram_.setSpeedLimits(gLimits.speedLow, gLimits.speedHigh);
    diagram_.setAdvanceLimits(gLimits.advanceLow, gLimits.advanceHigh);
    MADiagrammaDis();
}

} // namespace measure
