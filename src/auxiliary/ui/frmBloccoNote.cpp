#include "auxiliary/ui/frmBloccoNote.h"
#include "auxiliary/NotebookText.h"
#include "auxiliary/ui/LimitedTextEdit.h"
#include "base/FileStore.h"
#include <QCloseEvent>
#include <QEvent>
#include <QMdiSubWindow>
#include <QToolTip>
#include <algorithm>

using namespace base;

namespace auxiliary {

namespace {
constexpr int kTextTop = 10; // twips
constexpr int16_t kDefaultWidth = 12000;
constexpr int16_t kDefaultHeight = 9000;
constexpr int kCaptionId = 128;
constexpr int kReadErrorId = 27;   // "Errore di lettura da disco"
constexpr int kWriteErrorId = 109; // "Errore di scrittura su disco"
constexpr int kPlainMessage = 1;
} // namespace

frmBloccoNote::frmBloccoNote(WindowContext& context, QWidget* parent)
    : ChildWindow(context, base::NotebookWindow, parent), Text1(new LimitedTextEdit(this)),
      buffer_(BufferLength, ' ') {
    setObjectName("frmBloccoNote");
    Text1->setObjectName("Text1");
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    connect(Text1, &QPlainTextEdit::textChanged, this, &frmBloccoNote::Text1_Change);
    // The file holds one byte a character: what Latin-1 has not is refused, with a word.
    Text1->setLatin1Only(true);
    connect(Text1, &LimitedTextEdit::refused, this, [this](const QString& characters) {
        const QString notice = QString::fromStdString(
            unstorableNotice(characters.toUtf8().toStdString(), ctx.texts.LangOffset));
        QToolTip::showText(Text1->mapToGlobal(Text1->cursorRect().bottomLeft()), notice, Text1);
        if (ctx.frame) ctx.frame->showStatusMessage(notice);
    });
    Text1->installEventFilter(this);
}

void frmBloccoNote::Form_Load() {
    ctx.app.WindowLoading = true;
    Text1->move(0, toPixelsY(kTextTop));

    // The maxima live only in memory: the first opening of a run takes the defaults.
    const WindowRecord rec =
        placeAtLoad(LoadPlacement::ofSize(kDefaultWidth, kDefaultHeight)
                        .neverPlacedWhen(LoadPlacement::NeverPlaced::FirstInRun)
                        .withMaxima(LoadPlacement::Maxima::WhenUnset));

    if (!readNotebookFile())
        ctx.messages.ShowMsg(
            kPlainMessage, kAppTitle,
            fileErrorText(ctx.texts, kReadErrorId, ctx.app.NotebookPath, readError_));

    if (ctx.frame) ctx.frame->setMenuEntryEnabled("mnuBloccoNote", false);
    setWindowTitle(QString::fromUtf8(kAppTitle) + " - " + ctx.text(kCaptionId));
    Text1->setMaxLength(MaxLength);
    Text1->setPlainText(fromLatin1(textForBox(buffer_)));
    placeTextBox(rec.Width, rec.Height);
    countIn();
    ctx.app.WindowLoading = false;
}

bool frmBloccoNote::readNotebookFile() {
    const FileRead file = readFile(ctx.app.NotebookPath, MaxFileSize);
    // Showing blanks and writing them back at close would wipe the notes: until the file
    // can be read the text stays read-only and nothing is written.
    readFailed_ =
        file.result == FileRead::Result::Unreadable || file.result == FileRead::Result::TooLarge;
    readError_ = file.error;
    // Another session in the start folder owns the file: shown, never written.
    Text1->setReadOnly(readFailed_ || ctx.app.FolderShared);
    buffer_ = bufferFromFile(file.ok() ? std::optional<std::string>(file.bytes) : std::nullopt);
    return !readFailed_;
}

// Coming back to the text after the file was put right: read it now.
bool frmBloccoNote::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1 && event->type() == QEvent::FocusIn) retryRead();
    return ChildWindow::eventFilter(watched, event);
}

void frmBloccoNote::retryRead() {
    if (!readFailed_) return;
    ctx.app.WindowLoading = true;
    if (readNotebookFile()) Text1->setPlainText(fromLatin1(textForBox(buffer_)));
    ctx.app.WindowLoading = false;
}

void frmBloccoNote::Text1_Change() {
    if (ctx.app.WindowLoading) return;
    buffer_ = toBuffer(boxToBufferText(toLatin1(Text1->boxText())));
}

void frmBloccoNote::placeTextBox(int windowWidth, int windowHeight) {
    const int top = toPixelsY(kTextTop);
    int w = Text1->width();
    int h = Text1->height();
    if (windowHeight > 400) h = toPixelsY(windowHeight - 400);
    if (windowWidth > 1920) w = toPixelsX(windowWidth - 80);
    // The sub-window's frame is not the one the twip margins were made for: keep the box
    // inside the client area.
    w = std::min(w, width());
    h = std::min(h, std::max(0, height() - top));
    Text1->setGeometry(0, top, w, h);
}

void frmBloccoNote::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    if (ctx.app.WindowLoading) return;
    WindowRecord rec = ctx.app.WinRec[base::NotebookWindow];
    QWidget* frame = placementWidget();
    if (frame->isMinimized()) {
        rec.State = 2;
    } else {
        int widthTw = toTwipsX(frame->width());
        int heightTw = toTwipsY(frame->height());
        if (!frame->isMaximized()) {
            rec.State = 1;
            // Compared in pixels, so a maximum that is not a whole number of pixels does not
            // snap a window that already sits at it.
            QSize capped = frame->size();
            if (rec.MaxWidth > 0 && capped.width() > toPixelsX(rec.MaxWidth)) {
                capped.setWidth(toPixelsX(rec.MaxWidth));
                widthTw = rec.MaxWidth;
            }
            if (rec.MaxHeight > 0 && capped.height() > toPixelsY(rec.MaxHeight)) {
                capped.setHeight(toPixelsY(rec.MaxHeight));
                heightTw = rec.MaxHeight;
            }
            if (capped != frame->size()) frame->resize(capped);
        }
        placeTextBox(widthTw, heightTw);
    }
    ctx.app.WinRec[base::NotebookWindow] = rec;
}

bool frmBloccoNote::Form_QueryUnload() {
    if (readFailed_ || ctx.app.FolderShared) return true;
    const std::string failure = writeFileAtomically(ctx.app.NotebookPath, buffer_);
    if (failure.empty()) return true;
    ctx.messages.ShowMsg(kPlainMessage, kAppTitle,
                         fileErrorText(ctx.texts, kWriteErrorId, ctx.app.NotebookPath, failure));
    // While the program closes the window goes anyway; otherwise it stays open so the text
    // is not lost.
    return ctx.app.Closing;
}

void frmBloccoNote::Form_Unload() {
    storePlacementAtUnload();
    if (ctx.frame) ctx.frame->setMenuEntryEnabled("mnuBloccoNote", true);
    countOut();
}

void frmBloccoNote::closeEvent(QCloseEvent* event) {
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

// The text box fills the window: a few lines of it.
QSize frmBloccoNote::minimumContentSize() const {
    return {toPixelsX(2000), toPixelsY(1200)};
}

} // namespace auxiliary
