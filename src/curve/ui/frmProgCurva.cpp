#include "curve/ui/frmProgCurva.h"
#include "app/FileStore.h"
#include "app/RecentDocuments.h"
#include "app/ui/DocumentDispatch.h"
#include "auxiliary/ui/frmProgressBar.h"
#include "curve/CurveEditing.h"
#include "curve/CurveFile.h"
#include "curve/ui/CurveSheet.h"
#include "midi/Decoder.h"
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QUndoStack>
#include <cmath>
#include <functional>

using namespace curve;

namespace {
constexpr const char* kCaptionPrefix = "Curva Anticipo: ";
constexpr int kMsgEepromWrite = 6; // "Errore scrittura EEPROM"
constexpr int kMsgNoAnswer = 8;    // "Nessuna risposta dalla centralina"
constexpr int kMsgCancelled = 13;  // "Operazione annullata"
constexpr int kMsgInsertOnly = 1;  // the text given
constexpr int kWrongFormat = 4;    // "Formato dati _ errato"
constexpr int kOpenTitleId = 67;   // "Apri File"
constexpr const char* kProgOn = "PROG ON";
constexpr const char* kProgOff = "PROG OFF";

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    return l;
}

// The notes as the file keeps them (CR LF) and as the text box shows them (LF).
QString notesForBox(const std::string& notes) {
    return fromLatin1(notes).replace("\r\n", "\n");
}
std::string notesForFile(const QString& box) {
    return toLatin1(QString(box).replace("\n", "\r\n"));
}

// One step of the graph's history: the three curves before and after it. The press and
// the release of one gesture (a drag on an empty curve) merge into one step.
class CurveEdit : public QUndoCommand {
public:
    using Curves = std::array<Curve, CurveCount>;
    using Apply = std::function<void(const Curves&, int)>;
    CurveEdit(Apply apply, const Curves& before, const Curves& after, int curve, int gesture)
        : apply_(std::move(apply)), before_(before), after_(after), curve_(curve),
          gesture_(gesture) {}
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* o = static_cast<const CurveEdit*>(other);
        if (gesture_ == 0 || o->gesture_ != gesture_) return false;
        after_ = o->after_;
        return true;
    }
    void undo() override { apply_(before_, curve_); }
    void redo() override {
        // Pushed once the edit is done: the first redo has nothing to do.
        if (!std::exchange(pushed_, true)) return;
        apply_(after_, curve_);
    }

private:
    Apply apply_;
    Curves before_;
    Curves after_;
    int curve_;
    int gesture_;
    bool pushed_ = false;
};

} // namespace

// ---- creation ---------------------------------------------------------------------------

frmProgCurva::frmProgCurva(WindowContext& context, int winNo)
    : ChildWindow(context, winNo), transfer_(context.midi, wait_) {
    const QDateTime now = QDateTime::currentDateTime();
    path_ = defaultCurvePath(ctx.app.AppFolder, kPathSeparator, now.date().day(),
                             now.date().month(), now.date().year(), now.time().hour(),
                             now.time().minute(), now.time().second());
    buildControls();
}

frmProgCurva::frmProgCurva(WindowContext& context, int winNo, CurveDocument doc, std::string path)
    : ChildWindow(context, winNo), transfer_(context.midi, wait_) {
    doc_ = std::move(doc);
    path_ = std::move(path);
    fromFile_ = true;
    buildControls();
}

frmProgCurva::~frmProgCurva() {
    // The history empties itself as it is destroyed with the window's children: by then this
    // is no editor any more, and must hear nothing of it.
    if (history_) disconnect(history_, nullptr, this, nullptr);
    if (ctx.targets) ctx.targets->removeReplyListener(this);
    if (ctx.link) ctx.link->forget(this);
}

void frmProgCurva::buildControls() {
    setObjectName("frmProgCurva");
    setWindowTitle("Programmazione curva anticipo");
    Picture1 = new CurvePicture(*this);
    static const char* const kAsc[] = {"500",  "1000", "2000", "3000", "4000", "5000",
                                       "6000", "7000", "8000", "9000", "10000"};
    for (int i = 0; i < 11; ++i)
        LabAsc[static_cast<size_t>(i)] = makeLabel(Picture1, QString("LabAsc_%1").arg(i), kAsc[i]);
    for (int i = 0; i < 6; ++i)
        LabOrd[static_cast<size_t>(i)] =
            makeLabel(Picture1, QString("LabOrd_%1").arg(i), QString::number(i * 10));
    LabGMA = makeLabel(Picture1, "LabGMA", "0,0");
    LabGMA->setAutoFillBackground(true);
    LabGMA->hide();

    TextVRM = new QLineEdit("7500", this);
    TextVRM->setObjectName("TextVRM");
    TextVRM->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[0-9 ]{0,5}"), TextVRM));
    TextVRM->setAlignment(Qt::AlignRight);
    LabelVRM = makeLabel(this, "LabelVRM", "g/m max");
    ComboCA = new QComboBox(this);
    ComboCA->setObjectName("ComboCA");
    ComboCA->setEditable(true);
    ComboCA->setInsertPolicy(QComboBox::NoInsert);
    ComboCA->addItems({"0", "1", "2", "12"});
    LabelCA = makeLabel(this, "LabelCA", "Curva");
    ComSalva = makeButton(this, "ComSalva", "SALVA");
    ComCancella = makeButton(this, "ComCancella", "CANCELLA");
    ComAnnulla = makeButton(this, "ComAnnulla", "ANNULLA");
    for (int n = 0; n < 3; ++n) {
        const QString name = QString("ComCrva%1").arg(n);
        ComCrva[static_cast<size_t>(n)] =
            makeButton(this, name.toLatin1().constData(), QString("AGG %1").arg(n).toLatin1());
    }
    ComApplica = makeButton(this, "ComApplica", "APPLICA");
    ComNote = makeButton(this, "ComNote", "NOTE");
    ComTabella = makeButton(this, "ComTabella", "TABELLA");
    ComTabella->setCheckable(true);
    ComTabella->setToolTip("Mostra l'anticipo che la tabella della centralina applica a ogni "
                           "passo di 100 g/m (0 dove il conteggio supera 511)");
    ComCurva0Da = makeButton(this, "ComCurva0Da", "0 da file...");
    ComCurva0Da->setToolTip(QStringLiteral("Curva 0, di confronto, da un altro file .crva"));
    ComCurva0Da->setToolTip("Prende come curva 0 (di confronto, mai trasferita) una curva di "
                            "un altro file; le curve 1 e 2 restano come sono");
    ComProg = makeButton(this, "ComProg", kProgOn);
    ComProgMaster = makeButton(this, "ComProgMaster", "MDX");
    ComProgSlave = makeButton(this, "ComProgSlave", "MSX");
    const QString writes = "Scrive nel modulo %1 gli indirizzi 4 e 5 e la tabella della curva "
                           "scelta: curva 1 agli indirizzi 6-112, curva 2 agli indirizzi "
                           "113-219, che comprendono il programma della bobina (202-208)";
    ComProgMaster->setToolTip(writes.arg("MDX"));
    ComProgSlave->setToolTip(writes.arg("MSX"));
    Note = new QPlainTextEdit(this);
    Note->setObjectName("Note");
    Note->hide();
    TimerProg = new QTimer(this);
    TimerProg->setObjectName("TimerProg");
    TimerProg->setInterval(CurveTransfer::TickMs);
    history_ = new QUndoStack(this);
    history_->setUndoLimit(1000);
    connect(history_, &QUndoStack::cleanChanged, this, &frmProgCurva::updateCaption);
    connect(history_, &QUndoStack::indexChanged, this, &ChildWindow::historyChanged);

    connect(TimerProg, &QTimer::timeout, this, &frmProgCurva::TimerProg_Timer);
    connect(ComSalva, &QPushButton::clicked, this, [this] {
        if (ctx.documents) ctx.documents->SaveDocument(this);
    });
    connect(ComCancella, &QPushButton::clicked, this, &frmProgCurva::ComCancella_Click);
    connect(ComAnnulla, &QPushButton::clicked, this, &frmProgCurva::ComAnnulla_Click);
    for (int n = 0; n < 3; ++n)
        connect(ComCrva[static_cast<size_t>(n)], &QPushButton::clicked, this,
                [this, n] { ComCrva_Click(n); });
    connect(ComNote, &QPushButton::clicked, this, &frmProgCurva::ComNote_Click);
    connect(ComCurva0Da, &QPushButton::clicked, this, &frmProgCurva::ComCurva0Da_Click);
    connect(ComTabella, &QPushButton::toggled, Picture1, qOverload<>(&QWidget::update));
    connect(ComProg, &QPushButton::clicked, this, &frmProgCurva::ComProg_Click);
    connect(ComProgMaster, &QPushButton::clicked, this, [this] { startTransfer(true); });
    connect(ComProgSlave, &QPushButton::clicked, this, [this] { startTransfer(false); });
    connect(ComboCA, qOverload<int>(&QComboBox::activated), this, &frmProgCurva::ComboCA_Chosen);
    connect(ComboCA->lineEdit(), &QLineEdit::editingFinished, this, &frmProgCurva::ComboCA_Typed);
    connect(TextVRM, &QLineEdit::textEdited, this, &frmProgCurva::TextVRM_Change);
    connect(Note, &QPlainTextEdit::textChanged, this, [this] {
        if (ctx.app.WindowLoading || unloaded_) return;
        doc_.notes = notesForFile(Note->toPlainText());
        markModified();
    });
}

void frmProgCurva::Form_Load() {
    AppState& app = ctx.app;
    app.WindowLoading = true;
    if (QWidget* w = placementWidget())
        w->setMaximumSize(toPixelsX(MaxWidthTwips), toPixelsY(MaxHeightTwips));
    // A window never placed stands 300 twips below and right of the one before.
    const auto stagger = static_cast<int16_t>(300 * (windowNumber() - win::FirstCurve));
    placeAtLoad(LoadPlacement::ofSize(DefaultWidthTwips, DefaultHeightTwips)
                    .at(stagger, stagger)
                    .withMaxima(LoadPlacement::Maxima::Set, MaxWidthTwips, MaxHeightTwips));

    loadDocument();
    if (ctx.targets) ctx.targets->addReplyListener(this);
    countIn();
    app.WindowLoading = false;
}

void frmProgCurva::Form_Activate() {
    if (QGuiApplication::mouseButtons() != Qt::NoButton && !activatingPress_) {
        activatingPress_ = true;
        qApp->installEventFilter(this);
    }
    ChildWindow::Form_Activate();
}

bool frmProgCurva::eventFilter(QObject* watched, QEvent* event) {
    if (activatingPress_ && event->type() == QEvent::MouseButtonRelease) {
        activatingPress_ = false;
        qApp->removeEventFilter(this);
    }
    return ChildWindow::eventFilter(watched, event);
}

void frmProgCurva::loadDocument() {
    TextVRM->setText(QString::fromLatin1(doc_.maxRpmField.c_str()).trimmed());
    TextVRM->setStyleSheet(maxRpmWarning(toLatin1(TextVRM->text())) ? "color: rgb(255,0,0)"
                                                                    : "color: rgb(0,0,0)");
    Note->setPlainText(notesForBox(doc_.notes));
    ComboCA->setCurrentIndex(sel_);
    const bool editable = !doc_.locked();
    ComCancella->setEnabled(editable);
    ComAnnulla->setEnabled(editable);
    if (!fromFile_) {
        for (QWidget* w : {static_cast<QWidget*>(ComSalva), static_cast<QWidget*>(ComCancella),
                           static_cast<QWidget*>(ComAnnulla), static_cast<QWidget*>(ComProg),
                           static_cast<QWidget*>(ComApplica)})
            w->setEnabled(false);
        for (QPushButton* b : ComCrva)
            b->setEnabled(false);
    } else {
        ComProg->setEnabled(true);
        ComSalva->setEnabled(true);
        ComApplica->setEnabled(false);
        ComCancella->setEnabled(editable && doc_.curves[static_cast<size_t>(sel_)].hasSegment());
        ComAnnulla->setEnabled(ComCancella->isEnabled());
        UpdateCurveButtons();
    }
    ComboCA->setEnabled(true);
    updateProgButtons();
    fieldsModified_ = false;
    history_->clear();
    updateCaption();
}

// ---- document ---------------------------------------------------------------------------

std::string frmProgCurva::documentBytes() {
    return serializeCrva(doc_);
}

void frmProgCurva::documentSaved(const std::string& path) {
    path_ = path;
    fieldsModified_ = false;
    history_->setClean();
    updateCaption();
}

bool frmProgCurva::modified() const {
    return fieldsModified_ || !history_->isClean();
}

void frmProgCurva::updateCaption() {
    QString caption = kCaptionPrefix + fromSystemPath(path_);
    if (modified()) caption += " *";
    setWindowTitle(caption);
}

void frmProgCurva::markModified() {
    fieldsModified_ = true;
    updateCaption();
}

// ---- history ----------------------------------------------------------------------------

bool frmProgCurva::canUndo() const {
    return !transfer_.running() && history_->canUndo();
}

bool frmProgCurva::canRedo() const {
    return !transfer_.running() && history_->canRedo();
}

void frmProgCurva::undo() {
    if (canUndo()) history_->undo();
}

void frmProgCurva::redo() {
    if (canRedo()) history_->redo();
}

void frmProgCurva::recordEdit(const Curves& before, int gesture) {
    history_->push(new CurveEdit([this](const Curves& c, int n) { applyCurves(c, n); }, before,
                                 doc_.curves, sel_, gesture));
    updateCaption();
}

// The curve a step changed is selected, so the user sees what came back.
void frmProgCurva::applyCurves(const Curves& curves, int edited) {
    doc_.curves = curves;
    CurvePenDown = 0;
    rubberEnd_.reset();
    if (edited != sel_) {
        ComboCA->setCurrentIndex(edited);
        sel_ = edited;
        updateProgButtons();
    }
    LabGMA->hide();
    ComSalva->setEnabled(true);
    refreshEditControls();
}

// The buttons that follow the curves: CANCELLA and ANNULLA while the selected curve has a
// segment, PROG while curve 1 or 2 has one, the other curves' show buttons.
void frmProgCurva::refreshEditControls() {
    const bool segment = doc_.curves[static_cast<size_t>(sel_)].hasSegment();
    ComCancella->setEnabled(segment && !doc_.locked());
    ComAnnulla->setEnabled(segment && !doc_.locked());
    ComProg->setEnabled(doc_.curves[1].hasSegment() || doc_.curves[2].hasSegment());
    UpdateCurveButtons();
    Picture1->update();
}

void frmProgCurva::ShowCursorPosition(double x, double y) {
    const int rpm = cursorRpm(x);
    const double deg = (GraphY0 - y) * 10 / TwipsPer10Deg;
    const long count = std::lround(advanceCount(deg, rpm));
    const int stored = tableCount(doc_.curves[static_cast<size_t>(sel_)].CurveTable,
                                  RpmToTableIndex(static_cast<float>(rpm)));
    LabGMA->setText(QString("%1:%2:%3:%4")
                        .arg(rpm)
                        .arg(QString::number(deg, 'f', 1).replace('.', ','))
                        .arg(count)
                        .arg(stored));
    LabGMA->adjustSize();
    double left = x + 80;
    const double width = LabGMA->width() * ctx.app.TwipsPerPixelX;
    if (left + width > GraphXMax) left = x - 80 - width;
    LabGMA->move(toPixelsX(static_cast<int>(left)),
                 toPixelsY(static_cast<int>(y)) - LabGMA->height());
    LabGMA->show();
}

// ---- mouse ------------------------------------------------------------------------------

void frmProgCurva::graphPress(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || activatingPress_) return;
    const double x = e->position().x() * ctx.app.TwipsPerPixelX;
    const double y = e->position().y() * ctx.app.TwipsPerPixelY;
    if (!inHitArea(x, y)) return;
    ShowCursorPosition(x, y);
    if (doc_.locked()) return;
    const Curves before = doc_.curves;
    const Edit result = pressAt(doc_.curves[static_cast<size_t>(sel_)], x, y);
    if (result == Edit::Ignored) return;
    ++gesture_;
    gestureBefore_ = before;
    CurvePenDown = -1;
    rubberEnd_.reset();
    if (result == Edit::Added) {
        recordEdit(before, gesture_);
        afterEdit();
        ShowCursorPosition(x, y); // the stored value now includes the new point
    }
    Picture1->update();
}

void frmProgCurva::graphMove(QMouseEvent* e) {
    const double x = e->position().x() * ctx.app.TwipsPerPixelX;
    const double y = e->position().y() * ctx.app.TwipsPerPixelY;
    if (!inHitArea(x, y)) {
        LabGMA->hide();
        return;
    }
    ShowCursorPosition(x, y);
    const Curve& cur = doc_.curves[static_cast<size_t>(sel_)];
    if (CurvePenDown && x >= GraphX0 + cur.points[static_cast<size_t>(cur.CurveLastPoint)].x) {
        rubberEnd_ = QPointF(x, y);
        Picture1->update();
    }
}

void frmProgCurva::graphRelease(QMouseEvent* e) {
    if (!CurvePenDown || e->button() != Qt::LeftButton) return;
    const double x = e->position().x() * ctx.app.TwipsPerPixelX;
    const double y = e->position().y() * ctx.app.TwipsPerPixelY;
    if (!inHitArea(x, y)) return;
    CurvePenDown = 0;
    rubberEnd_.reset();
    Picture1->update();
    if (doc_.locked()) return;
    if (releaseAt(doc_.curves[static_cast<size_t>(sel_)], x, y) == Edit::Added) {
        recordEdit(gestureBefore_, gesture_);
        afterEdit();
        ShowCursorPosition(x, y);
    }
}

// A segment was added: the table is rebuilt (by the edit), the document changed.
void frmProgCurva::afterEdit() {
    ComSalva->setEnabled(true);
    ComCancella->setEnabled(true);
    ComAnnulla->setEnabled(true);
    ComProg->setEnabled(doc_.curves[1].hasSegment() || doc_.curves[2].hasSegment());
    UpdateCurveButtons();
    Picture1->update();
}

void frmProgCurva::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::RightButton && ctx.frame) {
        ctx.frame->popupEditMenu(e->globalPosition().toPoint());
        e->accept();
        return;
    }
    ChildWindow::mousePressEvent(e);
}

// ---- editing controls -------------------------------------------------------------------

void frmProgCurva::UpdateCurveButtons() {
    for (int c = 0; c < CurveCount; ++c)
        ComCrva[static_cast<size_t>(c)]->setEnabled(
            c != sel_ && doc_.curves[static_cast<size_t>(c)].hasSegment());
}

bool frmProgCurva::transferable() const {
    const QString choice = ComboCA->currentText();
    return choice == "1" || choice == "2" || choice == "12";
}

bool frmProgCurva::programming() const {
    return ctx.link && ctx.link->holder() == windowNumber() && ctx.link->answersMemory();
}

void frmProgCurva::updateProgButtons() {
    const bool on =
        programming() && ComProg->text() == kProgOff && transferable() && !transfer_.running();
    ComProgMaster->setEnabled(on);
    ComProgSlave->setEnabled(on);
}

void frmProgCurva::ComCancella_Click() {
    const Curves before = doc_.curves;
    clearCurve(doc_.curves[static_cast<size_t>(sel_)]);
    recordEdit(before, 0); // a step of its own
    LabGMA->hide();
    refreshEditControls();
}

void frmProgCurva::ComAnnulla_Click() {
    const Curves before = doc_.curves;
    undoLastPoint(doc_.curves[static_cast<size_t>(sel_)]);
    recordEdit(before, 0);
    refreshEditControls();
}

void frmProgCurva::ComboCA_Chosen(int index) {
    if (ctx.app.WindowLoading) return;
    if (index < 0 || index > 2) {
        updateProgButtons(); // "12": both curves go to the unit; the editor stays as it is
        return;
    }
    CurvePenDown = 0;
    rubberEnd_.reset();
    sel_ = index;
    const bool segment = doc_.curves[static_cast<size_t>(sel_)].hasSegment();
    ComCancella->setEnabled(segment && !doc_.locked());
    ComAnnulla->setEnabled(segment && !doc_.locked());
    updateProgButtons();
    UpdateCurveButtons();
    Picture1->update();
}

void frmProgCurva::ComboCA_Typed() {
    const std::string typed = toLatin1(ComboCA->currentText());
    const QString kept = QString::fromLatin1(curveChoiceRule(typed).c_str());
    const int index = ComboCA->findText(kept);
    if (ComboCA->currentIndex() != index || ComboCA->currentText() != kept) {
        ComboCA->setCurrentIndex(index);
        ComboCA_Chosen(index);
    }
}

void frmProgCurva::ComCrva_Click(int n) {
    QPushButton* b = ComCrva[static_cast<size_t>(n)];
    b->setText(b->text() == QString("CANC %1").arg(n) ? QString("AGG %1").arg(n)
                                                      : QString("CANC %1").arg(n));
    Picture1->update();
}

void frmProgCurva::TextVRM_Change(const QString& text) {
    if (ctx.app.WindowLoading) return;
    const std::string kept = maxRpmTextRule(toLatin1(text));
    if (kept != toLatin1(text)) TextVRM->setText(QString::fromLatin1(kept.c_str()));
    TextVRM->setStyleSheet(maxRpmWarning(kept) ? "color: rgb(255,0,0)" : "color: rgb(0,0,0)");
    doc_.setMaxRpmText(kept);
    markModified();
}

void frmProgCurva::ComNote_Click() {
    Note->setVisible(!Note->isVisible());
    holdMinimumSize();
    layoutControls();
}

// ---- programming ------------------------------------------------------------------------

void frmProgCurva::ComProg_Click() {
    if (ComProg->text() != kProgOn) {
        programmingOff();
        return;
    }
    if (!ctx.link) return;
    // The unit serves one window at a time: another one's mode or a recording comes first.
    if (const int blocker = ctx.link->modeBlocker(windowNumber())) {
        ctx.messages.ShowMsg(kMsgInsertOnly, ctx.app.MsgTitle,
                             unitHeldNotice(*ctx.link, blocker, ctx.texts.LangOffset));
        return;
    }
    ComProg->setText(kProgOff);
    ctx.app.CurrentWinNo = windowNumber();
    if (ctx.decoder) {
        ctx.decoder->ProgOnAck = false;
        ctx.decoder->ProgAckD0 = false;
    }
    ctx.link->enterMode(windowNumber(), UnitMode::Programming, this);
    updateProgButtons();
}

void frmProgCurva::programmingOff() {
    // The unit goes back to run mode at once; what the user is told comes after.
    const bool cancelled = transfer_.running();
    if (cancelled) {
        transfer_.stop();
        TimerProg->stop();
    }
    if (ctx.link) ctx.link->leaveMode(windowNumber());
    ComProg->setText(kProgOn);
    ComProg->setEnabled(true);
    if (cancelled) endTransfer(kMsgCancelled);
    updateProgButtons();
}

void frmProgCurva::offer(uint32_t message) {
    wait_.offer(message);
}

void frmProgCurva::modeAnswered(int status) {
    if (status == 0xD1) {
        ComProg->setText(kProgOff);
        updateProgButtons();
        return;
    }
    // 0xD0: the unit is in run mode, refusing PROG ON or leaving programming by itself.
    const bool wasTransferring = transfer_.running();
    if (wasTransferring) {
        transfer_.stop();
        TimerProg->stop();
    }
    ComProg->setText(kProgOn);
    if (wasTransferring) endTransfer(0);
    updateProgButtons();
    ctx.messages.ShowMsg(kMsgInsertOnly, ctx.app.MsgTitle, modeRefusedNotice(ctx.texts.LangOffset));
}

void frmProgCurva::modeTimedOut() {
    ComProg->setText(kProgOn);
    updateProgButtons();
    ctx.messages.ShowMsg(kMsgNoAnswer, ctx.app.MsgTitle, "");
}

void frmProgCurva::startTransfer(bool master) {
    if (!programming() || !transferable() || transfer_.running()) return;
    CurveTransfer::Setup setup;
    setup.master = master;
    setup.choice = ComboCA->currentText().toInt();
    setup.maxRpm = static_cast<int>(leadingNumber(toLatin1(TextVRM->text())));
    setup.table1 = doc_.curves[1].CurveTable;
    setup.table2 = doc_.curves[2].CurveTable;
    ctx.midi.ProgMaster = master;
    subject_ = {TransferSubject::Kind::Curve, setup.choice, master};
    transfer_.start(setup);
    BeginProgramming();
    TimerProg->start();
}

void frmProgCurva::TimerProg_Timer() {
    if (!transfer_.running()) {
        TimerProg->stop();
        return;
    }
    const int stateBefore = transfer_.ProgState;
    const CurveTransfer::Outcome outcome = transfer_.tick(CurveTransfer::TickMs);
    if (stateBefore == 0) {
        // Over this editor, whichever window the user is in: nothing comes to the front.
        ctx.app.CurrentWinNo = windowNumber();
        progress_ = frmProgressBar::open(ctx, this);
        progress_->ProgressBar1->setRange(0, 108);
    }
    if (progress_) {
        progress_->setWindowTitle(QString::fromLatin1(transfer_.progressCaption().c_str()));
        // In both-curves mode the phase names the curve in hand.
        const TransferSubject now{TransferSubject::Kind::Curve, transfer_.ProgCurve,
                                  subject_.master};
        progress_->showProgress(QString::fromStdString(transferPhaseText(now, transfer_.verifying(),
                                                                         ctx.texts.LangOffset)),
                                transfer_.progress());
    }
    switch (outcome) {
    case CurveTransfer::Outcome::Running:
        return;
    case CurveTransfer::Outcome::Completed:
        endTransfer(0);
        if (ctx.frame)
            ctx.frame->showStatusMessage(QString::fromStdString(
                transferDoneText(subject_, transfer_.progress().elapsedMs, ctx.texts.LangOffset)));
        return;
    case CurveTransfer::Outcome::Failed:
        endTransfer(kMsgEepromWrite);
        return;
    case CurveTransfer::Outcome::NoAnswer:
        endTransfer(kMsgNoAnswer);
        return;
    }
}

// The transfer ends: timer off, the progress window unloaded, the editor given back, and
// a failure told (messageCode 0: completed).
void frmProgCurva::endTransfer(int messageCode) {
    transfer_.stop();
    TimerProg->stop();
    closeProgress();
    EndProgramming();
    if (messageCode) ctx.messages.ShowMsg(messageCode, ctx.app.MsgTitle, "");
}

void frmProgCurva::closeProgress() {
    if (progress_) progress_->unloadWindow();
    progress_.clear();
}

void frmProgCurva::BeginProgramming() {
    Picture1->setEnabled(false);
    for (QWidget* w : {static_cast<QWidget*>(TextVRM), static_cast<QWidget*>(ComProgMaster),
                       static_cast<QWidget*>(ComProgSlave), static_cast<QWidget*>(ComboCA)})
        w->setEnabled(false);
    const std::array<QPushButton*, 8> kept = {ComSalva,   ComCancella, ComAnnulla, ComCrva[0],
                                              ComCrva[1], ComCrva[2],  ComApplica, ComNote};
    for (size_t i = 0; i < kept.size(); ++i) {
        remembered_[i] = kept[i]->isEnabled();
        kept[i]->setEnabled(false);
    }
    emit historyChanged();
}

void frmProgCurva::EndProgramming() {
    Picture1->setEnabled(true);
    TextVRM->setEnabled(true);
    ComboCA->setEnabled(true);
    const std::array<QPushButton*, 8> kept = {ComSalva,   ComCancella, ComAnnulla, ComCrva[0],
                                              ComCrva[1], ComCrva[2],  ComApplica, ComNote};
    for (size_t i = 0; i < kept.size(); ++i)
        kept[i]->setEnabled(remembered_[i]);
    updateProgButtons();
    emit historyChanged();
}

// ---- layout and closing -----------------------------------------------------------------

void frmProgCurva::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    if (!ctx.app.WindowLoading) layoutControls();
}

void frmProgCurva::layoutControls() {
    const int margin = toPixelsX(60);
    Picture1->setGeometry(margin, margin, toPixelsX(PictureWidth), toPixelsY(PictureHeight));
    for (int i = 0; i < 11; ++i) {
        QLabel* l = LabAsc[static_cast<size_t>(i)];
        l->adjustSize();
        const double x = i == 0 ? GraphX0 : GraphX0 + 600 + 1200.0 * (i - 1);
        l->move(toPixelsX(static_cast<int>(x)) - l->width() / 2, toPixelsY(GraphY0 + 100));
    }
    for (int i = 0; i < 6; ++i) {
        QLabel* l = LabOrd[static_cast<size_t>(i)];
        l->adjustSize();
        l->move(toPixelsX(GraphX0 - 300) - l->width() / 2,
                toPixelsY(GraphY0 - TwipsPer10Deg * i) - l->height() / 2);
    }
    int top = Picture1->geometry().bottom() + margin;
    if (Note->isVisible()) {
        Note->setGeometry(margin, top, Picture1->width(), toPixelsY(1000));
        top = Note->geometry().bottom() + margin;
    }
    // One row: the buttons share the width left by the maximum rpm group and ComProg.
    const std::array<QWidget*, 17> row = {
        ComSalva,      ComCancella,  ComAnnulla, ComCrva[0],  ComCrva[1], ComCrva[2],
        ComApplica,    ComNote,      ComTabella, ComCurva0Da, LabelCA,    ComboCA,
        ComProgMaster, ComProgSlave, TextVRM,    LabelVRM,    ComProg};
    const std::array<int, 17> weight = {9, 11, 10, 8, 8, 8, 9, 7, 9, 11, 6, 6, 7, 7, 7, 10, 11};
    int total = 0;
    for (int w : weight)
        total += w;
    const int available = std::max(width() - 2 * margin, 200);
    const int height = toPixelsY(375);
    int x = margin;
    for (size_t i = 0; i < row.size(); ++i) {
        const int w = available * weight[i] / total;
        row[i]->setGeometry(x, top, w - 2, height);
        x += w;
    }
}

void frmProgCurva::closeEvent(QCloseEvent* event) {
    if (unloaded_) {
        event->accept();
        return;
    }
    if (modified() && ctx.documents &&
        !ctx.documents->saveBeforeClosing(this, "File: " + shortenedCaption(path_))) {
        event->ignore();
        return;
    }
    unloaded_ = true;
    Form_Unload();
    event->accept();
}

void frmProgCurva::Form_Unload() {
    if (transfer_.running()) {
        transfer_.stop();
        closeProgress();
    }
    TimerProg->stop();
    if (ctx.targets) ctx.targets->removeReplyListener(this);
    storePlacementAtUnload();
    // Programming switched on here ends with the window: the unit goes back to run mode.
    if (ctx.link) ctx.link->windowClosed(windowNumber());
    countOut();
}

QString frmProgCurva::sheetTitle(int langOffset) const {
    return curveSheetTitle(langOffset);
}

void frmProgCurva::paintSheet(SheetPainter& sheet) {
    paintCurveSheet(sheet, doc_, path_, documentDate(path_));
}

void frmProgCurva::ComCurva0Da_Click() {
    if (doc_.locked()) return;
    std::optional<CurveSource> source;
    if (curve0Source_) {
        source = curve0Source_();
    } else {
        const QString path = chooseFile(
            ctx,
            FileDialogRequest::toOpen(ctx.text(kOpenTitleId), fromSystemPath(ctx.app.LastDocFolder),
                                      dialogFilter(documentKind(DocKind::Curve).openFilter)));
        if (!path.isEmpty()) source = CurveSource{path, -1};
    }
    if (!source) return;
    const std::string path = toSystemPath(source->path);
    const std::optional<std::string> bytes = readWholeFile(path);
    const CrvaReadResult read = parseCrva(bytes.value_or(std::string()));
    if (read.refusal != CrvaRefusal::None) { // an unreadable file reads as empty
        ctx.messages.ShowMsg(kWrongFormat, ctx.app.MsgTitle, path);
        return;
    }
    QStringList drawn;
    std::vector<int> numbers;
    for (int c = 0; c < CurveCount; ++c)
        if (read.document.curves[static_cast<size_t>(c)].hasSegment()) {
            drawn << QString("Curva %1 (%2 punti)")
                         .arg(c)
                         .arg(read.document.curves[static_cast<size_t>(c)].CurveLastPoint + 1);
            numbers.push_back(c);
        }
    int chosen = source->curve;
    if (chosen < 0 && numbers.size() == 1) chosen = numbers.front();
    if (chosen < 0 && numbers.size() > 1 && !curve0Source_) {
        bool ok = false;
        const QString item =
            QInputDialog::getItem(this, ComCurva0Da->text(), QString(), drawn, 0, false, &ok);
        if (!ok) return;
        chosen = numbers[static_cast<size_t>(drawn.indexOf(item))];
    }
    if (chosen < 0 || chosen >= CurveCount ||
        !read.document.curves[static_cast<size_t>(chosen)].hasSegment()) {
        ctx.messages.ShowMsg(kWrongFormat, ctx.app.MsgTitle, path);
        return;
    }
    takeCurve0(read.document.curves[static_cast<size_t>(chosen)]);
}

void frmProgCurva::takeCurve0(const Curve& c) {
    const Curves before = doc_.curves;
    Curve& zero = doc_.curves[0];
    zero = c;
    BuildCurveTable(zero);
    // Shown beside the selected curve.
    if (sel_ != 0) ComCrva[0]->setText("CANC 0");
    recordEdit(before, 0); // a step of its own: Annulla takes it back
    ComSalva->setEnabled(true);
    if (sel_ == 0) {
        ComCancella->setEnabled(true);
        ComAnnulla->setEnabled(true);
    }
    UpdateCurveButtons();
    Picture1->update();
}

// The graph whole, with the notes when shown, and the row of buttons under it.
QSize frmProgCurva::minimumContentSize() const {
    const int notes = Note->isVisible() ? 1000 + 60 : 0;
    return {toPixelsX(PictureWidth + 2 * 60),
            toPixelsY(60 + PictureHeight + 60 + notes + 375 + 60)};
}
