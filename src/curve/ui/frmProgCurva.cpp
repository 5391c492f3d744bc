#include "curve/ui/frmProgCurva.h"
#include "auxiliary/ui/frmProgressBar.h"
#include "base/FileStore.h"
#include "base/MenuCaptions.h"
#include "base/NumberFormat.h"
#include "base/RecentDocuments.h"
#include "base/ui/FileDialogs.h"
#include "curve/CurveEditing.h"
#include "curve/CurveFile.h"
#include "curve/ui/CurveHistory.h"
#include "curve/ui/CurveSheet.h"
#include "protocol/Decoder.h"
#include "transport/MidiPort.h"
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
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QUndoStack>
#include <algorithm>
#include <cmath>
#include <functional>

using namespace base;

namespace curve {

using namespace curve;

namespace {
constexpr const char* kCaptionPrefix = "Curva Anticipo: ";
constexpr int kWrongFormat = 4;  // "Formato dati _ errato"
constexpr int kOpenTitleId = 67; // "Apri File"

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
    view_.fromFile = true;
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
    // The scales in the user's language, with their units: the speed under the graph, the
    // degrees beside each line.
    const int lang = ctx.texts.LangOffset;
    for (int i = 0; i < 11; ++i)
        LabAsc[static_cast<size_t>(i)] =
            makeLabel(Picture1, QString("LabAsc_%1").arg(i),
                      QString::fromStdString(base::integer(i == 0 ? 500 : 1000 * i, lang)));
    LabAscUnita = makeLabel(Picture1, "LabAscUnita", base::rpmUnit(lang));
    for (int i = 0; i < 6; ++i)
        LabOrd[static_cast<size_t>(i)] =
            makeLabel(Picture1, QString("LabOrd_%1").arg(i), QString("%1\u00B0").arg(i * 10));
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
    const auto caption = [lang](const char* key) {
        return QString::fromStdString(designCaption(key, lang));
    };
    ComTabella->setToolTip(caption("tipComTabella"));
    ComCurva0Da = makeButton(this, "ComCurva0Da", "0 da file...");
    ComCurva0Da->setToolTip(caption("tipComCurva0Da"));
    ComProg = makeButton(this, "ComProg", view_.progCaption());
    ComProgMaster = makeButton(this, "ComProgMaster", "MDX");
    ComProgSlave = makeButton(this, "ComProgSlave", "MSX");
    ComProgMaster->setToolTip(caption("tipComProgCurva").arg("MDX"));
    ComProgSlave->setToolTip(caption("tipComProgCurva").arg("MSX"));
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
    const auto stagger = static_cast<int16_t>(300 * (windowNumber() - base::FirstCurveWindow));
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
    ComboCA->setCurrentIndex(view_.selected);
    render();
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
                                 doc_.curves, view_.selected, gesture));
    view_.edited = true;
    updateCaption();
}

// The curve a step changed is selected, so the user sees what came back.
void frmProgCurva::applyCurves(const Curves& curves, int edited) {
    doc_.curves = curves;
    pen_.lift();
    if (edited != view_.selected) {
        ComboCA->setCurrentIndex(edited);
        view_.selected = view_.choice = edited;
    }
    LabGMA->hide();
    render();
}

// The controls as the editor's state has them: enables, ComProg's and the show buttons'
// captions; the graph redrawn.
void frmProgCurva::render() {
    view_.locked = doc_.locked();
    for (int c = 0; c < CurveCount; ++c)
        view_.hasSegment[static_cast<size_t>(c)] = doc_.curves[static_cast<size_t>(c)].hasSegment();
    view_.programming =
        ctx.link && ctx.link->holder() == windowNumber() && ctx.link->answersMemory();
    view_.transferring = transfer_.running();
    const CurveEditorEnables e = view_.enables();
    ComSalva->setEnabled(e.ComSalva);
    ComCancella->setEnabled(e.ComCancella);
    ComAnnulla->setEnabled(e.ComAnnulla);
    for (int c = 0; c < CurveCount; ++c) {
        ComCrva[static_cast<size_t>(c)]->setEnabled(e.ComCrva[static_cast<size_t>(c)]);
        ComCrva[static_cast<size_t>(c)]->setText(QString::fromStdString(view_.showCaption(c)));
    }
    ComApplica->setEnabled(e.ComApplica);
    ComNote->setEnabled(e.ComNote);
    ComProg->setEnabled(e.ComProg);
    ComProg->setText(view_.progCaption());
    ComProgMaster->setEnabled(e.ComProgMaster);
    ComProgSlave->setEnabled(e.ComProgSlave);
    Picture1->setEnabled(e.Picture1);
    TextVRM->setEnabled(e.TextVRM);
    ComboCA->setEnabled(e.ComboCA);
    Picture1->update();
}

void frmProgCurva::ShowCursorPosition(double x, double y) {
    const Readout r = readoutAt(doc_.curves[static_cast<size_t>(view_.selected)], x, y);
    LabGMA->setText(QString::fromStdString(readoutText(r, ctx.texts.LangOffset)));
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
    const GraphPen::Step step = pen_.press(doc_.curves, view_.selected, doc_.locked(), x, y);
    if (step.edited) {
        recordEdit(pen_.before(), pen_.gesture());
        render();
    }
    if (step.inside) ShowCursorPosition(x, y); // the stored value includes a new point
    if (step.redraw) Picture1->update();
}

void frmProgCurva::graphMove(QMouseEvent* e) {
    const double x = e->position().x() * ctx.app.TwipsPerPixelX;
    const double y = e->position().y() * ctx.app.TwipsPerPixelY;
    const GraphPen::Step step = pen_.move(doc_.curves, view_.selected, x, y);
    if (step.inside)
        ShowCursorPosition(x, y);
    else
        LabGMA->hide();
    if (step.redraw) Picture1->update();
}

void frmProgCurva::graphRelease(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const double x = e->position().x() * ctx.app.TwipsPerPixelX;
    const double y = e->position().y() * ctx.app.TwipsPerPixelY;
    const GraphPen::Step step = pen_.release(doc_.curves, view_.selected, doc_.locked(), x, y);
    if (step.redraw) Picture1->update();
    if (!step.edited) return;
    recordEdit(pen_.before(), pen_.gesture());
    render();
    ShowCursorPosition(x, y);
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

void frmProgCurva::ComCancella_Click() {
    const Curves before = doc_.curves;
    clearCurve(doc_.curves[static_cast<size_t>(view_.selected)]);
    recordEdit(before, 0); // a step of its own
    LabGMA->hide();
    render();
}

void frmProgCurva::ComAnnulla_Click() {
    const Curves before = doc_.curves;
    undoLastPoint(doc_.curves[static_cast<size_t>(view_.selected)]);
    recordEdit(before, 0);
    render();
}

void frmProgCurva::ComboCA_Chosen(int index) {
    if (ctx.app.WindowLoading) return;
    // "12": both curves go to the unit; the editor stays on the curve it shows.
    view_.choice = index == 3 ? 12 : std::max(index, 0);
    if (index >= 0 && index <= 2) {
        pen_.lift();
        view_.selected = index;
    }
    render();
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
    view_.shownBeside[static_cast<size_t>(n)] = !view_.shownBeside[static_cast<size_t>(n)];
    render();
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
    LabAscUnita->adjustSize();
    LabAscUnita->move(toPixelsX((GraphX0 + GraphXMax) / 2) - LabAscUnita->width() / 2,
                      toPixelsY(GraphY0 + 350));
    for (int i = 0; i < 6; ++i) {
        QLabel* l = LabOrd[static_cast<size_t>(i)];
        l->adjustSize();
        // Right-aligned just left of the 500 rpm line, never past the picture's left edge.
        l->move(std::max(0, toPixelsX(GraphX0 - 45) - l->width()),
                std::max(0, toPixelsY(GraphY0 - TwipsPer10Deg * i) - l->height() / 2));
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
    // Kept open on Cancel, or when nothing was written.
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
    const QString chosenPath = chooseFile(
        ctx,
        FileDialogRequest::toOpen(ctx.text(kOpenTitleId), fromSystemPath(ctx.app.LastDocFolder),
                                  dialogFilter(documentKind(DocKind::Curve).openFilter)));
    if (chosenPath.isEmpty()) return;
    const std::string path = toSystemPath(chosenPath);
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
            drawn << QString::fromStdString(designCaption("curve0Choice", ctx.texts.LangOffset))
                         .arg(c)
                         .arg(read.document.curves[static_cast<size_t>(c)].CurveLastPoint + 1);
            numbers.push_back(c);
        }
    if (numbers.empty()) {
        ctx.messages.ShowMsg(kWrongFormat, ctx.app.MsgTitle, path);
        return;
    }
    int chosen = numbers.front();
    if (numbers.size() > 1) { // which of the file's drawn curves
        QInputDialog choice(this);
        choice.setObjectName("curve0Choice");
        choice.setWindowTitle(ComCurva0Da->text());
        choice.setComboBoxItems(drawn);
        choice.setComboBoxEditable(false);
        if (choice.exec() != QDialog::Accepted) return;
        chosen = numbers[static_cast<size_t>(drawn.indexOf(choice.textValue()))];
    }
    takeCurve0(read.document.curves[static_cast<size_t>(chosen)]);
}

void frmProgCurva::takeCurve0(const Curve& c) {
    const Curves before = doc_.curves;
    Curve& zero = doc_.curves[0];
    zero = c;
    BuildCurveTable(zero);
    // Shown beside the selected curve.
    if (view_.selected != 0) view_.shownBeside[0] = true;
    recordEdit(before, 0); // a step of its own: Annulla takes it back
    render();
}

// The graph whole, with the notes when shown, and the row of buttons under it.
QSize frmProgCurva::minimumContentSize() const {
    const int notes = Note->isVisible() ? 1000 + 60 : 0;
    return {toPixelsX(PictureWidth + 2 * 60),
            toPixelsY(60 + PictureHeight + 60 + notes + 375 + 60)};
}

} // namespace curve
