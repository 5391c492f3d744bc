#include "coil/ui/frmProgTempoBobina.h"
#include "auxiliary/ui/frmProgressBar.h"
#include "base/MenuCaptions.h"
#include "base/NumberFormat.h"
#include "base/PathNames.h"
#include "coil/CoilFields.h"
#include "coil/CoilGraph.h"
#include "coil/CoilSimulation.h"
#include "coil/IbobFile.h"
#include "coil/ui/CoilPictures.h"
#include "protocol/Decoder.h"
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QValidator>
#include <functional>

using namespace base;
using namespace auxiliary;

namespace coil {

namespace {
constexpr int kTimer1Ms = TickMs;
constexpr int kTimer2Ms = 10;
constexpr int kMsgEepromWrite = 6; // "Errore scrittura EEPROM"
constexpr int kMsgNoAnswer = 8;    // "Nessuna risposta dalla centralina"

Quantity quantity(int id) {
    return static_cast<Quantity>(id);
}

// Holds a pasted, cut or undone text to a box's rules (typed keys are checked before they
// reach the box); a pasted "7.5" is taken as "7,5".
class RuleValidator : public QValidator {
public:
    RuleValidator(std::function<bool(const QString&)> valid, bool commaForPoint, QObject* parent)
        : QValidator(parent), valid_(std::move(valid)), commaForPoint_(commaForPoint) {}
    State validate(QString& input, int&) const override {
        if (commaForPoint_) input.replace('.', ',');
        return valid_(input) ? Acceptable : Invalid;
    }

private:
    std::function<bool(const QString&)> valid_;
    bool commaForPoint_;
};

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}
} // namespace

frmProgTempoBobina::frmProgTempoBobina(WindowContext& context, int windowNumber,
                                       std::optional<OpenedFile> opened, QWidget* parent)
    : ChildWindow(context, windowNumber, parent), opened_(std::move(opened)),
      transfer_(context.midi, wait_) {
    setObjectName("frmProgTempoBobina");
    buildControls();
    layoutControls();
    connectControls();
}

frmProgTempoBobina::~frmProgTempoBobina() {
    // A window released without its close handler must not stay among the listeners.
    if (ctx.targets) ctx.targets->removeReplyListener(this);
    if (ctx.link) ctx.link->removeObserver(this);
}

DocumentKind frmProgTempoBobina::documentKind() {
    return documentKindFor(DocKind::Coil, &frmProgTempoBobina::read);
}

ChildWindow* frmProgTempoBobina::read(WindowContext& ctx, int windowNumber, const std::string& path,
                                      const std::string& bytes, int& refusal) {
    const IbobRead file = parseIbob(bytes);
    refusal = file.code;
    if (file.code != 0) return nullptr;
    return new frmProgTempoBobina(ctx, windowNumber, OpenedFile{file, path});
}

void frmProgTempoBobina::buildControls() {
    for (std::size_t i = 0; i < Fields.size(); ++i) {
        const coil::Field& s = Fields[i];
        Field& f = fields_[i];
        f.text = new QLineEdit(this);
        f.text->setObjectName(s.text);
        f.text->setAlignment(Qt::AlignRight);
        f.text->installEventFilter(this);
        const Quantity q = quantity(static_cast<int>(i));
        f.text->setValidator(new RuleValidator(
            [q](const QString& t) { return coil::valid(q, toLatin1(t)); }, inTenths(q), f.text));
        f.scroll = new QScrollBar(Qt::Vertical, this);
        f.scroll->setObjectName(s.scroll);
        f.scroll->setRange(s.min, s.max);
        f.scroll->setSingleStep(1);
        f.scroll->setPageStep(s.largeStep);
        // Up is more, as on a gauge.
        f.scroll->setInvertedAppearance(true);
        f.scroll->setInvertedControls(false);
        captions_[i] = label(this, s.label, QString::fromLatin1(s.caption));
    }
    for (int band = 0; band < BandCount; ++band) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(QString("ComboMS_%1").arg(band));
        for (int k = 0; k < DwellChoices; ++k)
            combo->addItem(QString::fromStdString(dwellText(k, ctx.texts.LangOffset)));
        ComboMS[static_cast<std::size_t>(band)] = combo;
    }
    const QString tip =
        QString::fromStdString(designCaption("tipCommProgBobina", ctx.texts.LangOffset));
    const char* names[] = {nullptr, "CommProgBobinaMS_1", "CommProgBobinaMS_2"};
    const char* texts[] = {nullptr, "Programmazione Master", "Programmazione Slave"};
    for (int k = 1; k <= 2; ++k) {
        auto* b = new QPushButton(QString::fromLatin1(texts[k]), this);
        b->setObjectName(names[k]);
        b->setAutoDefault(false);
        b->setToolTip(tip);
        b->setEnabled(false);
        CommProgBobinaMS[static_cast<std::size_t>(k)] = b;
    }

    Picture1 = new CoilCurrentPicture(this);
    Picture1->setObjectName("Picture1");
    Picture1->installEventFilter(this);
    PictureBande = new CoilBandPicture(this);
    PictureBande->setObjectName("PictureBande");
    PictureBande->setLanguage(ctx.texts.LangOffset);
    LabVRT = label(this, "LabVRT", "vel rot+per rot");
    LabTXDiv = label(this, "LabTXDiv", "tempo x div");
    LabIbob = label(Picture1, "LabIbob", "iBob");
    LabE = label(Picture1, "LabE", QString());
    for (QLabel* l : {LabIbob, LabE}) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        l->setPalette(p);
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    LabIMax = label(this, "LabIMax", "IMax");
    LabEMax = label(this, "LabEMax", "EMax");
    LabPMed = label(this, "LabPMed", "PotMedia");
    LabTempoBobina = label(this, "LabTempoBobina", QString());

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(kTimer1Ms);
    Timer2 = new QTimer(this);
    Timer2->setObjectName("Timer2");
    Timer2->setInterval(kTimer2Ms);
    Timer2->setSingleShot(true);
}

void frmProgTempoBobina::layoutControls() {
    const int boxWidth = fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 14;

    auto* bands = new QGroupBox(QStringLiteral("TB (ms)"), this);
    bands->setObjectName("FrameTB");
    auto* bandGrid = new QGridLayout(bands);
    bandGrid->setVerticalSpacing(2);
    const int lang = ctx.texts.LangOffset;
    const std::string fixed = "< " +
                              base::withUnit(base::integer(2000, lang), base::rpmUnit(lang)) +
                              ": " + base::withUnit(dwellText(0, lang), "ms");
    bandGrid->addWidget(label(bands, "LabBandaFissa", QString::fromStdString(fixed)), 0, 0, 1, 4);
    for (int band = 0; band < BandCount; ++band) {
        const int row = 1 + band / 2;
        const int col = (band % 2) * 2;
        bandGrid->addWidget(label(bands, qPrintable(QString("LabBanda_%1").arg(band)),
                                  QString::fromStdString(bandText(band, lang))),
                            row, col);
        bandGrid->addWidget(ComboMS[static_cast<std::size_t>(band)], row, col + 1);
    }

    auto* data = new QGroupBox(QStringLiteral("Bobina"), this);
    data->setObjectName("FrameBobina");
    auto* dataGrid = new QGridLayout(data);
    dataGrid->setVerticalSpacing(2);
    for (int i = 0; i < FieldCount; ++i) {
        Field& f = fields_[static_cast<std::size_t>(i)];
        f.text->setFixedWidth(boxWidth);
        f.scroll->setFixedHeight(56);
        dataGrid->addWidget(captions_[static_cast<std::size_t>(i)], 0, i, Qt::AlignHCenter);
        dataGrid->addWidget(f.text, 1, i, Qt::AlignHCenter);
        dataGrid->addWidget(f.scroll, 2, i, Qt::AlignHCenter);
    }

    auto* figures = new QGridLayout;
    figures->addWidget(LabIMax, 0, 0);
    figures->addWidget(LabEMax, 0, 1);
    figures->addWidget(LabPMed, 1, 0);
    figures->addWidget(LabTempoBobina, 1, 1);
    for (QLabel* l : {LabIMax, LabEMax, LabPMed, LabTempoBobina}) {
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Emax=1904,4 mJ")) + 8);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CommProgBobinaMS[1]);
    buttons->addWidget(CommProgBobinaMS[2]);

    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    right->addWidget(bands);
    right->addWidget(data);
    right->addLayout(figures);
    right->addWidget(PictureBande, 1);
    right->addLayout(buttons);

    auto* left = new QVBoxLayout;
    left->setSpacing(2);
    left->addWidget(Picture1, 1);
    auto* under = new QHBoxLayout;
    under->addWidget(LabVRT);
    under->addStretch(1);
    under->addWidget(LabTXDiv);
    left->addLayout(under);

    auto* top = new QHBoxLayout(this);
    top->setContentsMargins(6, 6, 6, 6);
    top->addLayout(left, 1);
    top->addLayout(right, 0);
}

void frmProgTempoBobina::connectControls() {
    for (int i = 0; i < FieldCount; ++i) {
        const auto id = static_cast<FieldId>(i);
        Field& f = fields_[static_cast<std::size_t>(i)];
        connect(f.scroll, &QScrollBar::valueChanged, this,
                [this, id](int v) { scrollChanged(id, v); });
        connect(f.text, &QLineEdit::textChanged, this,
                [this, id](const QString& t) { textChanged(id, t); });
        connect(f.text, &QLineEdit::editingFinished, this, [this, id] { textFinished(id); });
    }
    for (int band = 0; band < BandCount; ++band)
        connect(ComboMS[static_cast<std::size_t>(band)], &QComboBox::currentIndexChanged, this,
                [this, band](int index) { ComboMS_Click(band, index); });
    for (int k = 1; k <= 2; ++k)
        connect(CommProgBobinaMS[static_cast<std::size_t>(k)], &QPushButton::clicked, this,
                [this, k] { CommProgBobinaMS_Click(k); });
    connect(Timer1, &QTimer::timeout, this, &frmProgTempoBobina::Timer1_Timer);
    connect(Timer2, &QTimer::timeout, this, &frmProgTempoBobina::recalculate);
    if (ctx.frame && ctx.frame->mdiArea())
        connect(ctx.frame->mdiArea(), &QMdiArea::subWindowActivated, this,
                [this](QMdiSubWindow* w) {
                    if (w && w == subWindow()) activated();
                });
}

// ---- loading --------------------------------------------------------------------------

void frmProgTempoBobina::Form_Load() {
    AppState& app = ctx.app;
    app.WindowLoading = true;
    const int n = windowNumber();
    placeAtLoad(DefaultWidth, DefaultHeight);

    if (opened_)
        doc_ = openedProgram(opened_->file, n, opened_->path);
    else
        doc_ = newProgram(n, app.AppFolder, kPathSeparator);
    opened_.reset();
    showDocument();

    if (ctx.frame) {
        ctx.frame->setMenuEntryEnabled("mnuSalva", !documentPath().empty());
        ctx.frame->setMenuEntryEnabled("mnuSalvaAs", true);
    }
    if (ctx.targets) ctx.targets->addReplyListener(this);
    if (ctx.link) ctx.link->addObserver(this);
    render();
    countIn();
    app.WindowLoading = false;
    Timer2->start();
}

// The caption and the enables as the window's state has them.
void frmProgTempoBobina::render() {
    view_.memoryAnswers = ctx.link && ctx.link->answersMemory();
    view_.transferring = transfer_.running();
    setWindowTitle(fromSystemPath(view_.caption(doc_.path())));
    const CoilEnables e = view_.enables();
    for (QComboBox* c : ComboMS)
        c->setEnabled(e.values);
    for (Field& f : fields_) {
        f.text->setEnabled(e.values);
        f.scroll->setEnabled(e.values);
    }
    CommProgBobinaMS[1]->setEnabled(e.CommProgBobinaMS_1);
    CommProgBobinaMS[2]->setEnabled(e.CommProgBobinaMS_2);
}

// Lists and scroll bars from the record; each scroll bar writes its text box.
void frmProgTempoBobina::showDocument() {
    for (int band = 0; band < BandCount; ++band)
        ComboMS[static_cast<std::size_t>(band)]->setCurrentIndex(doc_.dwell(band));
    for (int i = 0; i < FieldCount; ++i) {
        const auto id = static_cast<FieldId>(i);
        Field& f = fields_[static_cast<std::size_t>(i)];
        const int raw = rawOfDocument(id);
        if (f.scroll->value() == raw)
            scrollChanged(id, raw);
        else
            f.scroll->setValue(raw);
    }
}

int frmProgTempoBobina::rawOfDocument(FieldId id) const {
    return doc_.raw(static_cast<Quantity>(id));
}

// ---- editing --------------------------------------------------------------------------

QString frmProgTempoBobina::textOfRaw(FieldId id, int raw) const {
    return QString::fromStdString(textOf(quantity(id), raw));
}

std::optional<int> frmProgTempoBobina::rawOfText(FieldId id, const QString& text) const {
    return valueOf(quantity(id), toLatin1(text));
}

void frmProgTempoBobina::scrollChanged(FieldId id, int value) {
    Field& f = fields_[static_cast<std::size_t>(id)];
    if (!syncing_) f.text->setText(textOfRaw(id, value));
    if (ctx.app.WindowLoading) return;
    // The coil reference values the settings keep and the rotation graph uses.
    constexpr std::array<float SettingsData::*, FieldCount> kReference{
        &SettingsData::CoilL, &SettingsData::CoilR, &SettingsData::CoilRPlus,
        &SettingsData::CoilVBatt, nullptr};
    if (float SettingsData::*kept = kReference[static_cast<std::size_t>(id)])
        ctx.app.*kept = static_cast<float>(value);
}

void frmProgTempoBobina::textChanged(FieldId id, const QString& text) {
    Field& f = fields_[static_cast<std::size_t>(id)];
    if (ctx.app.WindowLoading) return;
    // Only values the record can hold are stored: an emptied box or a 0 is kept until the
    // user goes on typing or leaves the box.
    if (const std::optional<int> raw = rawOfText(id, text)) {
        doc_.setRaw(static_cast<Quantity>(id), *raw);
        syncing_ = true;
        f.scroll->setValue(*raw);
        syncing_ = false;
    }
    if (id == FVR)
        recalculate();
    else
        Timer2->start();
}

// Leaving a box whose text the record cannot hold shows the record's value again.
void frmProgTempoBobina::textFinished(FieldId id) {
    Field& f = fields_[static_cast<std::size_t>(id)];
    if (!rawOfText(id, f.text->text())) f.text->setText(textOfRaw(id, rawOfDocument(id)));
}

void frmProgTempoBobina::ComboMS_Click(int band, int index) {
    if (ctx.app.WindowLoading || index < 0) return;
    doc_.setDwell(band, index);
    doc_.setModified(true);
    view_.dwellChanged = true;
    render();
    Timer2->start();
}

bool frmProgTempoBobina::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Picture1 && event->type() == QEvent::Resize) placeEndLabels();
    if (event->type() != QEvent::KeyPress) return ChildWindow::eventFilter(watched, event);
    for (int i = 0; i < FieldCount; ++i) {
        Field& f = fields_[static_cast<std::size_t>(i)];
        if (watched != f.text) continue;
        auto* key = static_cast<QKeyEvent*>(event);
        // Shortcuts (select all, copy, paste, undo) and caret keys go to the box; what they
        // change is checked afterwards.
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        char c = 0;
        if (key->key() == Qt::Key_Backspace)
            c = Backspace;
        else if (key->key() == Qt::Key_Delete)
            c = Delete;
        else if (key->text().size() == 1 && key->text()[0].unicode() >= 0x20 &&
                 key->text()[0].unicode() < 0x7F)
            c = static_cast<char>(key->text()[0].unicode());
        else if (!key->text().isEmpty() && key->text()[0].isPrint())
            return true; // any other character is discarded
        else
            return false;
        Edit edit;
        if (f.text->hasSelectedText()) {
            edit.selStart = f.text->selectionStart();
            edit.selLength = static_cast<int>(f.text->selectedText().size());
        } else {
            edit.selStart = f.text->cursorPosition();
        }
        const Result r = coil::key(quantity(i), toLatin1(f.text->text()), edit, c);
        if (r.accepted) {
            f.text->setText(QString::fromLatin1(r.text.c_str()));
            f.text->setCursorPosition(r.caret);
        }
        return true;
    }
    return ChildWindow::eventFilter(watched, event);
}

// ---- recalculation --------------------------------------------------------------------

void frmProgTempoBobina::recalculate() {
    Timer2->stop();
    if (ctx.app.WindowLoading) return;
    const std::optional<int> vr = rawOfText(FVR, fields_[FVR].text->text());
    const std::optional<int> l = rawOfText(FL, fields_[FL].text->text());
    const std::optional<int> r = rawOfText(FR, fields_[FR].text->text());
    if (!vr || !l || !r) return;
    CoilValues v = doc_.values();
    v.VR = *vr;
    const std::optional<CoilSimulation> s = simulate(v);
    if (!s) return;
    const CoilFigures f = figuresOf(v.VR, *s, ctx.texts.LangOffset);
    LabVRT->setText(QString::fromStdString(f.LabVRT));
    LabTXDiv->setText(QString::fromStdString(f.LabTXDiv));
    LabIbob->setText(QString::fromStdString(f.LabIbob));
    LabE->setText(QString::fromStdString(f.LabE));
    LabIMax->setText(QString::fromStdString(f.LabIMax));
    LabEMax->setText(QString::fromStdString(f.LabEMax));
    LabPMed->setText(QString::fromStdString(f.LabPMed));
    LabTempoBobina->setText(QString::fromStdString(f.LabTempoBobina));
    Picture1->setGraph(currentGraph(*s));
    PictureBande->setProgram(v.dwell, v.VR);
    placeEndLabels();
}

// LabIbob and LabE sit at the end of the curve, kept inside the picture.
void frmProgTempoBobina::placeEndLabels() {
    const auto& g = Picture1->graph();
    if (!g || g->curve.empty()) return;
    for (QLabel* l : {LabIbob, LabE})
        l->adjustSize();
    const QPointF end = Picture1->toPixels(g->curve.back());
    const int w = std::max(LabIbob->width(), LabE->width());
    const int h = LabIbob->height();
    int x = static_cast<int>(end.x()) + 4;
    if (x + w > Picture1->width()) x = static_cast<int>(end.x()) - w - 4;
    int y = static_cast<int>(end.y()) - 2 * h - 2;
    y = std::clamp(y, 0, std::max(0, Picture1->height() - 2 * h));
    x = std::clamp(x, 0, std::max(0, Picture1->width() - w));
    LabIbob->move(x, y);
    LabE->move(x, y + h);
}

// ---- transfer -------------------------------------------------------------------------

void frmProgTempoBobina::linkChanged() {
    render();
}

void frmProgTempoBobina::activated() {
    ctx.app.CurrentWinNo = windowNumber();
    render();
}

void frmProgTempoBobina::CommProgBobinaMS_Click(int k) {
    // The control panel may have left EEPROM access since the window was activated.
    render();
    if (!view_.enables().CommProgBobinaMS_1) return;
    std::array<uint8_t, TransferBytes> bytes{};
    for (int i = 0; i < TransferBytes; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<uint8_t>(doc_.byteAt(261 + i));
    transfer_.start(bytes, k == 1);
    render();
    transferMaster_ = k == 1;
    progress_ = frmProgressBar::open(ctx, this);
    progress_->ProgressBar1->setRange(0, TransferBytes);
    showProgress();
    Timer1->start();
}

void frmProgTempoBobina::showProgress() {
    if (!progress_) return;
    progress_->showProgress(QString::fromStdString(transferPhaseText(
                                subject(), transfer_.verifying(), ctx.texts.LangOffset)),
                            transfer_.progress());
}

TransferSubject frmProgTempoBobina::subject() const {
    return {TransferSubject::Kind::CoilPulse, 0, transferMaster_};
}

void frmProgTempoBobina::Timer1_Timer() {
    if (!transfer_.running()) {
        Timer1->stop();
        return;
    }
    const coil::CoilTransfer::Outcome outcome = transfer_.tick(TickMs);
    showProgress();
    if (outcome == coil::CoilTransfer::Outcome::Running) return;
    Timer1->stop();
    closeProgress();
    render();
    if (outcome == coil::CoilTransfer::Outcome::Done && ctx.frame)
        ctx.frame->showStatusMessage(QString::fromStdString(
            transferDoneText(subject(), transfer_.progress().elapsedMs, ctx.texts.LangOffset)));
    else if (outcome == coil::CoilTransfer::Outcome::NoAnswer)
        ctx.messages.ShowMsg(kMsgNoAnswer, kAppTitle, "");
    else if (outcome != coil::CoilTransfer::Outcome::Done)
        ctx.messages.ShowMsg(kMsgEepromWrite, kAppTitle, "");
}

void frmProgTempoBobina::offer(uint32_t message) {
    wait_.offer(message);
}

void frmProgTempoBobina::closeProgress() {
    if (progress_) progress_->unloadWindow();
    progress_.clear();
}

// ---- files ----------------------------------------------------------------------------

std::string frmProgTempoBobina::documentPath() const {
    return doc_.untitled() ? std::string() : doc_.path();
}

std::string frmProgTempoBobina::documentBytes() {
    return serializeIbob(doc_);
}

void frmProgTempoBobina::documentSaved(const std::string& path) {
    doc_.setModified(false);
    doc_.setUntitled(false);
    doc_.setPath(path);
    view_.dwellChanged = false;
    render();
    if (ctx.frame) ctx.frame->setMenuEntryEnabled("mnuSalva", true);
}

// ---- closing --------------------------------------------------------------------------

void frmProgTempoBobina::Form_Unload() {
    // A transfer cut short by closing the window: the unit keeps what was written so far.
    transfer_.stop();
    closeProgress();
    if (ctx.targets) ctx.targets->removeReplyListener(this);
    if (ctx.link) ctx.link->removeObserver(this);
    Timer1->stop();
    Timer2->stop();
    storePlacementAtUnload();
    countOut();
}

void frmProgTempoBobina::closeEvent(QCloseEvent* event) {
    if (unloaded_) {
        event->accept();
        return;
    }
    // Kept open on Cancel, or when nothing was written (no name given, a disk error).
    if (doc_.modified() && ctx.documents &&
        !ctx.documents->saveBeforeClosing(this, "File: " + fileNameOf(doc_.path()))) {
        event->ignore();
        return;
    }
    unloaded_ = true;
    Form_Unload();
    event->accept();
}

} // namespace coil
