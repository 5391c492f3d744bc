#include "measure/ui/frmMisRotNote.h"
#include "measure/CurrentMeasurement.h"
#include <QCloseEvent>
#include <QFont>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>

using namespace base;

namespace measure {

namespace {

std::string toFileText(const QString& text) {
    std::string out;
    for (const char c : toLatin1(text)) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

QString fromFileText(const std::string& text) {
    QString out = fromLatin1(text);
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return out;
}

} // namespace

frmMisRotNote::frmMisRotNote(WindowContext& context, QWidget* parent)
    : ChildWindow(context, base::NotesWindow, parent), Text1(new QPlainTextEdit(this)) {
    setObjectName("frmMisRotNote");
    Text1->setObjectName("Text1");
    QFont mono(QStringLiteral("Courier New"), 10);
    mono.setStyleHint(QFont::TypeWriter);
    Text1->setFont(mono);
    setFocusProxy(Text1); // typing goes to the text as soon as the window opens
    connect(Text1, &QPlainTextEdit::textChanged, this, &frmMisRotNote::Text1_Change);
}

frmMisRotNote::~frmMisRotNote() {
    // Released without being closed: keep what was typed and stop serving the saves.
    if (!closed_ && ctx.measurement->notesEditor) {
        ctx.measurement->Notes = notesText();
        ctx.measurement->notesEditor = nullptr;
    }
}

void frmMisRotNote::Form_Load() {
    ctx.app.WindowLoading = true;
    placeAtLoad(LoadPlacement::ofSize(DefaultWidth, DefaultHeight)
                    .neverPlacedWhen(LoadPlacement::NeverPlaced::NoWidth));
    setWindowTitle(QStringLiteral("Note"));

    CurrentMeasurement& m = *ctx.measurement;
    if (m.NewMeasurement) {
        m.Notes.clear();
        m.NewMeasurement = false;
    }
    Text1->setPlainText(fromFileText(m.Notes));
    m.notesEditor = [this] { return notesText(); };
    if (QMdiArea* area = ctx.frame ? ctx.frame->mdiArea() : nullptr)
        connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
            if (sub && sub->widget() == this) activated();
        });
    countIn();
    activated();
    ctx.app.WindowLoading = false;
}

std::string frmMisRotNote::notesText() const {
    return toFileText(Text1->toPlainText());
}

// Saving happens from the measurement window, not from here.
void frmMisRotNote::activated() {
    if (!ctx.frame || ctx.app.Closing) return;
    ctx.frame->setMenuEntryEnabled("mnuSalva", false);
    ctx.frame->setMenuEntryEnabled("mnuSalvaAs", false);
}

void frmMisRotNote::Text1_Change() {
    if (ctx.app.WindowLoading) return;
    if (ctx.measurement->rotationNotesEdited) ctx.measurement->rotationNotesEdited();
}

void frmMisRotNote::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    const int margin = toPixelsX(80);
    Text1->setGeometry(0, 0, std::max(0, width() - margin), height());
    if (ctx.app.WindowLoading || !subWindow() || subWindow()->isMinimized() ||
        subWindow()->isMaximized())
        return;
    const QRect g = subWindow()->geometry();
    WindowRecord& rec = ctx.app.WinRec[base::NotesWindow];
    rec.Left = toTwipsX(g.left());
    rec.Top = toTwipsY(g.top());
    rec.Width = toTwipsX(g.width());
    rec.Height = toTwipsY(g.height());
}

void frmMisRotNote::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        closed_ = true;
        storePlacementAtUnload();
        ctx.measurement->Notes = notesText();
        ctx.measurement->notesEditor = nullptr;
        countOut();
    }
    event->accept();
}

// The text box fills the window: a few lines of it.
QSize frmMisRotNote::minimumContentSize() const {
    return {toPixelsX(2000), toPixelsY(1200)};
}

} // namespace measure
