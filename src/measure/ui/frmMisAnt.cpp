#include "measure/ui/frmMisAnt.h"
#include "base/FileStore.h"
#include "base/MonthNames.h"
#include "base/PathNames.h"
#include "protocol/MeasurementRow.h"
#include "measure/MrotFile.h"
#include "measure/NotesCutNotice.h"
#include "measure/ui/CsvExportDialog.h"
#include "measure/ui/RowListModel.h"
#include "measure/ui/frmMisAntPicture.h"
#include "protocol/Decoder.h"
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
#include <cmath>
#include <cstdio>

namespace {
constexpr int kMsgInsertOnly = 1; // the text given
const QString kStart = QStringLiteral("Start");
const QString kStop = QStringLiteral("Stop");
const QString kSuspend = QStringLiteral("Sospendi");
const QString kContinue = QStringLiteral("Continua");
const QString kLiveOn = QStringLiteral("Attiva");
const QString kLiveOff = QStringLiteral("Disattiva");
const QString kToGraph = QStringLiteral("Grafico");
const QString kToData = QStringLiteral("Dati");
const QString kCaption = QStringLiteral("Misura Anticipo Fase: ");
const QString kSavedCaption = QStringLiteral("Misura Anticipo: ");
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

// Layout, twips.
constexpr int kPictureLeft = 600;
constexpr int kPictureTop = 360;
constexpr int kLine = 255;
constexpr int kSideLeft = kPictureLeft + frmMisAnt::PictureWidth + 600;
constexpr int kButtonWidth = 1700;
constexpr int kButtonHeight = 420;

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
    : ChildWindow(context, win::Advance, parent), readBack_(context.midi, wait_, context.link),
      ComStop(button(this, "ComStop", kStart)), ComSospendi(button(this, "ComSospendi", kSuspend)),
      ComAttiva(button(this, "ComAttiva", kLiveOff)),
      ComNuovaMisura(button(this, "ComNuovaMisura", QStringLiteral("Nuova misura"))),
      ComSalva(button(this, "ComSalva", QStringLiteral("Salva"))),
      ComNote(button(this, "ComNote", QStringLiteral("Note"))),
      ComDatiGrafico(button(this, "ComDatiGrafico", kToGraph)),
      ComEsporta(button(this, "ComEsporta", QStringLiteral("Esporta CSV"))),
      List1(new QListView(this)), List2(new QListView(this)), Text1(new QPlainTextEdit(this)),
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
      LabPersi(label(this, "LabPersi")), LabIntestazione(label(this, "LabIntestazione")),
      ComboSorgente(new QComboBox(this)), ComboCurva(new QComboBox(this)),
      ComVerifica(button(this, "ComVerifica", QStringLiteral("Verifica curva"))),
      LabVerifica(label(this, "LabVerifica")), ListScarti(new QListView(this)),
      list1Model_(new RowListModel(advanceRows_, this)),
      list2Model_(new RowListModel(measurement_.rows, this)),
      scartiModel_(new RowListModel(differences_, this)), checkTimer_(new QTimer(this)),
      refreshTimer_(new QTimer(this)) {
    setObjectName("frmMisAnt");
    List1->setObjectName("List1");
    ComboSorgente->setObjectName("ComboSorgente");
    ComboCurva->setObjectName("ComboCurva");
    ComboCurva->addItems({QStringLiteral("Curva 1"), QStringLiteral("Curva 2")});
    ListScarti->setObjectName("ListScarti");
    ListScarti->setModel(scartiModel_);
    ListScarti->setUniformItemSizes(true);
    ListScarti->setFont(listFont());
    ListScarti->hide();
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
    List2->hide();
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->hide();
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
    if (ctx.app.Measurement.advance == this) ctx.app.Measurement.advance = nullptr;
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
    showView();
    ComSospendi->setEnabled(false);

    fillSourceChoice();
    if (QMdiArea* area = ctx.frame ? ctx.frame->mdiArea() : nullptr)
        connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
            if (sub && sub->widget() == this) fillSourceChoice();
        });
    if (ctx.targets) ctx.targets->advance = this;
    ctx.app.Measurement.advance = this;
    countIn();
    ctx.app.WindowLoading = false;
    // Opened while the rotation window records: this window follows it from its next row.
    if (ctx.link && ctx.link->recording(win::Rotation)) followStart();
}

void frmMisAnt::layoutControls() {
    const auto place = [this](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(toPixelsX(left), toPixelsY(top), toPixelsX(width), toPixelsY(height));
    };
    place(LabIntestazione, kPictureLeft, kPictureTop - kLine - 60, PictureWidth, kLine);
    place(Picture1, kPictureLeft, kPictureTop, PictureWidth, PictureHeight);
    place(List1, kPictureLeft, kPictureTop, PictureWidth, PictureHeight);
    place(Text1, kPictureLeft, kPictureTop, PictureWidth, PictureHeight);
    const int below = kPictureTop + PictureHeight + 80;
    place(HScroll2, kPictureLeft + AdvanceDiagram::Left, below + kLine + 60, 3600, kLine);
    place(HScroll1, kPictureLeft + PictureWidth - AdvanceDiagram::RightMargin - 3600,
          below + kLine + 60, 3600, kLine);
    place(VScroll1, kPictureLeft + PictureWidth + 60, kPictureTop + AdvanceDiagram::TopMargin,
          kLine, 2600);
    place(VScroll2, kPictureLeft + PictureWidth + 60, kPictureTop + AdvanceDiagram::Bottom - 2600,
          kLine, 2600);
    int y = kPictureTop;
    for (QPushButton* b : {ComStop, ComSospendi, ComAttiva, ComDatiGrafico, ComNuovaMisura,
                           ComSalva, ComNote, ComEsporta}) {
        place(b, kSideLeft, y, kButtonWidth, kButtonHeight);
        y += kButtonHeight + 90;
    }
    place(LabContRighe, kSideLeft, y + 120, kButtonWidth, kLine);
    place(LabNessunDato, kSideLeft + kButtonWidth + 90, y + 120, 4200 - kButtonWidth - 90,
          2 * kLine + 60);
    place(LabTmpMis, kSideLeft, y + 120 + kLine + 60, kButtonWidth, kLine);
    place(LabPersi, kSideLeft, y + 120 + 2 * (kLine + 60), 3000, kLine);
    y += 120 + 3 * (kLine + 60) + 120;
    place(ComboSorgente, kSideLeft, y, kButtonWidth, kButtonHeight);
    place(ComboCurva, kSideLeft + kButtonWidth + 90, y, 1300, kButtonHeight);
    y += kButtonHeight + 90;
    place(ComVerifica, kSideLeft, y, kButtonWidth, kButtonHeight);
    y += kButtonHeight + 90;
    place(LabVerifica, kSideLeft, y, 4200, 3 * kLine);
    y += 3 * kLine + 60;
    place(ListScarti, kSideLeft, y, 4200, 3600);
    placeLayerControls(kPictureLeft, below + 2 * kLine + 200, PictureWidth);
    placeAxisLabels();
}

void frmMisAnt::placeAxisLabels() {
    const int below = kPictureTop + AdvanceDiagram::Bottom + 40;
    for (size_t i = 0; i < LabAsc.size(); ++i) {
        const int value = diagram_.speedLow + static_cast<int>(i);
        const int x = AdvanceDiagram::Left + static_cast<int>(i) * diagram_.hScale;
        LabAsc[i]->setText(QString::number(value));
        LabAsc[i]->setGeometry(toPixelsX(kPictureLeft + x - 300), toPixelsY(below), toPixelsX(600),
                               toPixelsY(kLine));
        LabAsc[i]->setVisible(!dataView() && value <= diagram_.speedHigh && diagram_.hScale > 0);
    }
    for (size_t j = 0; j < LabOrd.size(); ++j) {
        const int value = diagram_.advanceLow + static_cast<int>(j);
        const int y = AdvanceDiagram::Bottom - static_cast<int>(j) * diagram_.vScale;
        LabOrd[j]->setText(QString::number(value * 10));
        LabOrd[j]->setGeometry(toPixelsX(kPictureLeft - 560),
                               toPixelsY(kPictureTop + y - kLine / 2), toPixelsX(500),
                               toPixelsY(kLine));
        LabOrd[j]->setVisible(!dataView() && value <= diagram_.advanceHigh && diagram_.vScale > 0);
    }
}

bool frmMisAnt::rotationOpen() const {
    return ctx.app.WinRec[win::Rotation].State == 1;
}

bool frmMisAnt::dataView() const {
    return ComDatiGrafico->text() == kToGraph;
}

bool frmMisAnt::running() const {
    return ComStop->text() == kStop;
}

// ---- views ------------------------------------------------------------------------------

void frmMisAnt::showView() {
    const bool data = dataView();
    const bool acquiring = running();
    List1->setVisible(data && !acquiring);
    Text1->setVisible(data && acquiring);
    LabIntestazione->setVisible(data);
    Picture1->setVisible(!data);
    for (QScrollBar* s : {HScroll1, HScroll2, VScroll1, VScroll2})
        s->setVisible(!data);
    placeAxisLabels();
    if (!data) Picture1->update();
}

void frmMisAnt::ComDatiGrafico_Click() {
    ComDatiGrafico->setText(dataView() ? kToData : kToGraph);
    showView();
}

void frmMisAnt::showAcquiring(bool acquiring) {
    ComStop->setText(acquiring ? kStop : kStart);
    ComNuovaMisura->setEnabled(!acquiring);
    ComSalva->setEnabled(!acquiring);
    ComEsporta->setEnabled(!acquiring);
    ComSospendi->setEnabled(acquiring);
    if (!acquiring) ComSospendi->setText(kSuspend);
    setSaveEntries(!acquiring);
    if (acquiring) {
        refreshTimer_->start();
        LabNessunDato->start();
    } else {
        refreshTimer_->stop();
        LabNessunDato->stop();
        refresh();
        const QModelIndex current = List1->currentIndex();
        if (!current.isValid() && !advanceRows_.empty())
            List1->setCurrentIndex(list1Model_->index(0));
        List1_Click();
    }
    showView();
}

void frmMisAnt::setSaveEntries(bool enabled) {
    if (!ctx.frame) return;
    ctx.frame->setMenuEntryEnabled("mnuSalva", enabled);
    ctx.frame->setMenuEntryEnabled("mnuSalvaAs", enabled);
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
    ctx.link->startRecording(win::Advance);
    showAcquiring(true);
}

void frmMisAnt::stopAcquisition() {
    if (ctx.link) ctx.link->stopRecording(win::Advance);
    showAcquiring(false);
}

void frmMisAnt::followStart() {
    cancelReadBackForRecording();
    overrunsAtStart_ = ctx.midi.ring.overruns();
    if (ctx.link) ctx.link->startRecording(win::Advance, true);
    showAcquiring(true);
}

void frmMisAnt::followStop() {
    if (ctx.link) ctx.link->stopRecording(win::Advance);
    showAcquiring(false);
}

void frmMisAnt::followNewMeasurement() {
    clearMeasurement();
}

void frmMisAnt::ComSospendi_Click() {
    ComSospendi->setText(ComSospendi->text() == kSuspend ? kContinue : kSuspend);
}

void frmMisAnt::ComAttiva_Click() {
    ComAttiva->setText(ComAttiva->text() == kLiveOn ? kLiveOff : kLiveOn);
}

void frmMisAnt::addRow(const MeasurementRow& row) {
    LabNessunDato->arrived();
    if (ComSospendi->text() == kContinue) return;
    const std::string advance = advanceRow(row.text, row.Ta, row.Tss, row.Tc);
    measurement_.rows.append(row.text);
    // The caption says that there are rows not saved, as the rotation window's does.
    if (!measurement_.modified) setWindowTitle(windowTitle() + QLatin1Char('*'));
    measurement_.modified = true;
    advanceRows_.append(advance);
    if (ComAttiva->text() == kLiveOff) {
        liveText_.prepend(latin1(advance) + QLatin1Char('\n'));
        liveDirty_ = true;
        int& count = ctx.app.Measurement.LiveTextCount;
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
    if (!advanceRows_.empty()) {
        const std::string_view last = advanceRows_.row(advanceRows_.size() - 1);
        LabTmpMis->setText(latin1(last.substr(37, 13)));
        LabContRighe->setText(latin1(last.substr(0, 6)).trimmed());
    }
    if (reference_) compareNewRows();
    const uint32_t lost = ctx.midi.ring.overruns() - overrunsAtStart_;
    if (lost > 0) {
        LabPersi->setText(QStringLiteral("Messaggi persi: %1").arg(lost));
        LabPersi->show();
    }
    Picture1->update();
    if (!running()) refreshTimer_->stop();
}

void frmMisAnt::List1_Click() {
    const QModelIndex index = List1->currentIndex();
    if (!index.isValid() || static_cast<size_t>(index.row()) >= advanceRows_.size()) return;
    const std::string_view row = advanceRows_.row(static_cast<size_t>(index.row()));
    LabTmpMis->setText(latin1(row.substr(37, 13)));
    LabContRighe->setText(latin1(row.substr(0, 6)).trimmed());
}

// ---- measurement ------------------------------------------------------------------------

void frmMisAnt::clearMeasurement() {
    measurement_.clear();
    advanceRows_.clear();
    list1Model_->resetRows();
    list2Model_->resetRows();
    liveText_.clear();
    Text1->clear();
    LabTmpMis->setText(kNoTime);
    LabContRighe->setText(QString());
    differences_.clear();
    summary_ = {};
    scartiModel_->resetRows();
    showSummary();
    MADiagrammaDis();
}

void frmMisAnt::newDocumentName() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    const std::string month(monthAbbreviation(d.month(), ctx.app.LangCode));
    measurement_.path =
        newMeasurementName(d.day(), month, d.year(), t.hour(), t.minute(), t.second());
    measurement_.modified = false;
    setWindowTitle(kCaption + fromSystemPath(measurement_.path));
}

void frmMisAnt::ComNuovaMisura_Click() {
    if (running() || !askToSave()) return;
    clearMeasurement();
    // With the rotation window open the counters are its measurement's.
    if (!rotationOpen() && ctx.link) ctx.link->newMeasurement();
    ctx.app.Measurement.NewMeasurement = true;
    ctx.app.Measurement.LiveTextCount = 0;
    newDocumentName();
}

void frmMisAnt::ComNote_Click() {
    if (ctx.frame) ctx.frame->openChild(QStringLiteral("mnuMisRotNote"));
}

// ---- diagram ----------------------------------------------------------------------------

void frmMisAnt::MADiagrammaDis() {
    Picture1->clear();
    Picture1->setReference(reference_ ? closedloop::referenceCurve(*reference_)
                                      : std::vector<AdvancePoint>{});
    placeAxisLabels();
    for (size_t i = 0; i < advanceRows_.size(); ++i)
        if (const auto point = advancePoint(advanceRows_.row(i))) Picture1->plot(*point);
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
    const std::optional<MrotDocument> doc = parseMrot(bytes, [this](std::string_view row) {
        measurement_.rows.append(row);
        advanceRows_.append(advanceRowFromText(row));
    });
    if (!doc) {
        clearMeasurement();
        return false;
    }
    ctx.app.Measurement.Notes = doc->notes;
    ctx.app.Measurement.NewMeasurement = false;
    if (doc->notesCut)
        ctx.messages.ShowMsg(1, kAppTitle, notesCutNotice(path, ctx.texts.LangOffset));
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
    if (!advanceRows_.empty()) List1->setCurrentIndex(list1Model_->index(0));
    List1_Click();
    setWindowTitle(kCaption + fromSystemPath(fileNameOf(withoutTrailingBlanks(measurement_.path))));
    MADiagrammaDis();
    showView();
}

std::string frmMisAnt::documentPath() const {
    return folderOf(measurement_.path).empty() ? std::string() : measurement_.path;
}

std::string frmMisAnt::documentBytes() {
    const RowStore& rows = measurement_.rows;
    return serializeMrot(writePath_.empty() ? measurement_.path : writePath_,
                         ctx.app.Measurement.notesForSave(), rows.size(),
                         [&rows](size_t i) { return rows.row(i); });
}

void frmMisAnt::documentSaved(const std::string& path) {
    writePath_.clear();
    measurement_.path = path;
    measurement_.modified = false;
    setWindowTitle(kSavedCaption + fromSystemPath(path));
}

void frmMisAnt::ComSalva_Click() {
    if (running() || !ctx.documents) return;
    ctx.documents->SaveDocument(this);
}

void frmMisAnt::ComEsporta_Click() {
    if (running()) return;
    exportMeasurementCsv(this, ctx, measurement_.rows, measurement_.path, choosePath_);
}

// ---- closing ----------------------------------------------------------------------------

// Rows recorded and not saved: asked about (Yes / No / Cancel) before they are thrown away.
// False: keep them (Cancel, or the save did not happen).
bool frmMisAnt::askToSave() {
    if (!measurement_.modified || measurement_.rows.empty() || !ctx.documents) return true;
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
        if (ctx.link) ctx.link->windowClosed(win::Advance);
        storePlacementAtUnload();
        if (ctx.targets && ctx.targets->advance == this) ctx.targets->advance = nullptr;
        if (ctx.app.Measurement.advance == this) ctx.app.Measurement.advance = nullptr;
        countOut();
    }
    event->accept();
}

// ---- closed-loop check ------------------------------------------------------------------

namespace {
constexpr int kSourceMdx = 0;
constexpr int kSourceMsx = 1;
const QString kCurveWindowPrefix = QStringLiteral("Finestra: ");
const QString kMsgStopFirst =
    QStringLiteral("Fermare la misura prima di leggere la curva dall'unita'");
const QString kMsgWrongModule = QStringLiteral("Ha risposto l'altro modulo: verifica annullata");
const QString kMsgRefused =
    QStringLiteral("L'unita' ha rifiutato il modo programmazione: verifica annullata");
const QString kMsgNoAnswer = QStringLiteral("Nessuna risposta dall'unita': verifica annullata");
const QString kMsgCancelledByRecording =
    QStringLiteral("Misura avviata: lettura della curva annullata");
} // namespace

// The sources of the programmed curve: either module of the unit, and every open curve
// window.
void frmMisAnt::fillSourceChoice() {
    const QString chosen = ComboSorgente->currentText();
    ComboSorgente->clear();
    ComboSorgente->addItems({QStringLiteral("MDX"), QStringLiteral("MSX")});
    if (ctx.frame)
        for (const OpenCurveDocument& open : ctx.frame->openCurveDocuments())
            ComboSorgente->addItem(kCurveWindowPrefix + open.title,
                                   QVariant::fromValue(const_cast<QObject*>(open.window)));
    const int again = ComboSorgente->findText(chosen);
    ComboSorgente->setCurrentIndex(again >= 0 ? again : kSourceMdx);
}

const OpenCurveDocument* frmMisAnt::chosenCurveWindow() {
    const QObject* chosen = ComboSorgente->currentData().value<QObject*>();
    openCurves_.clear();
    if (ctx.frame && chosen) openCurves_ = ctx.frame->openCurveDocuments();
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
        LabVerifica->setText(kMsgStopFirst);
        return;
    }
    // Another window's mode comes first.
    if (const int blocker = ctx.link ? ctx.link->modeBlocker(win::Advance) : 0) {
        LabVerifica->setText(
            QString::fromStdString(unitHeldNotice(*ctx.link, blocker, ctx.texts.LangOffset)));
        return;
    }
    // Read back from the module: the replies reach the wait through the decoder.
    if (ctx.targets) ctx.targets->addReplyListener(&wait_);
    readBack_.start(source == kSourceMdx, curveNo);
    ComVerifica->setEnabled(false);
    LabVerifica->setText(QStringLiteral("Lettura della curva %1 da %2...")
                             .arg(curveNo)
                             .arg(ComboSorgente->currentText()));
    checkTimer_->start();
}

void frmMisAnt::checkTick() {
    using Outcome = closedloop::TableReadBack::Outcome;
    if (!readBack_.running()) return;
    const Outcome outcome = readBack_.tick(checkTimer_->interval());
    if (outcome == Outcome::Running) return;
    endReadBack();
    if (outcome == Outcome::Completed) {
        setReferenceTable(readBack_.table());
        return;
    }
    LabVerifica->setText(outcome == Outcome::WrongModule ? kMsgWrongModule
                         : outcome == Outcome::Refused   ? kMsgRefused
                                                         : kMsgNoAnswer);
}

// A recording that starts ends a running read-back: the unit goes back to run mode.
void frmMisAnt::cancelReadBackForRecording() {
    if (!readBack_.running()) return;
    endReadBack();
    LabVerifica->setText(kMsgCancelledByRecording);
}

void frmMisAnt::endReadBack() {
    checkTimer_->stop();
    readBack_.stop();
    if (ctx.targets) ctx.targets->removeReplyListener(&wait_);
    wait_.cancel();
    ComVerifica->setEnabled(true);
}

void frmMisAnt::setReferenceTable(const curve::Table& table) {
    reference_ = table;
    differences_.clear();
    summary_ = {};
    scartiModel_->resetRows();
    compareNewRows();
    ListScarti->show();
    MADiagrammaDis();
}

// The rows not yet compared: their differences into ListScarti, the summary brought on.
void frmMisAnt::compareNewRows() {
    if (!reference_) return;
    RowStore fresh(kAdvanceRowLength);
    for (size_t i = differences_.size(); i < advanceRows_.size(); ++i)
        fresh.append(advanceRows_.row(i));
    std::vector<std::optional<double>> diffs;
    const closedloop::Summary part = closedloop::compare(fresh, *reference_, &diffs);
    for (size_t i = 0; i < fresh.size(); ++i) {
        const std::string_view row = fresh.row(i);
        char line[kDifferenceRowLength + 16];
        std::string programmed = "     ";
        std::string difference = "      ";
        if (diffs[i]) {
            const double measured = static_cast<double>(advancePoint(row)->tenths) / 10.0;
            std::snprintf(line, sizeof line, "%5.1f", measured - *diffs[i]);
            programmed = line;
            std::snprintf(line, sizeof line, "%+6.2f", *diffs[i]);
            difference = line;
        }
        std::string text(row.substr(0, 19)); // Riga, Rot, Ant
        text += ' ' + programmed + ' ' + difference;
        differences_.append(text);
    }
    if (part.compared > 0 &&
        (summary_.compared == 0 || std::fabs(part.largest) > std::fabs(summary_.largest))) {
        summary_.largest = part.largest;
        summary_.rpmOfLargest = part.rpmOfLargest;
    }
    summary_.compared += part.compared;
    scartiModel_->publish();
    showSummary();
}

void frmMisAnt::showSummary() {
    if (!reference_) {
        LabVerifica->clear();
        return;
    }
    if (summary_.compared == 0) {
        LabVerifica->setText(QStringLiteral("Nessun punto da confrontare con la curva"));
        return;
    }
    LabVerifica->setText(QStringLiteral("Scarto massimo %1%2 gradi a %3 rpm (%4 punti)")
                             .arg(summary_.largest >= 0 ? "+" : "")
                             .arg(summary_.largest, 0, 'f', 2)
                             .arg(QString::fromStdString(formatGrouped(summary_.rpmOfLargest)))
                             .arg(summary_.compared));
}
