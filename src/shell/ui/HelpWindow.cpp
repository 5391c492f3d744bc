#include "shell/ui/HelpWindow.h"
#include "base/MenuCaptions.h"
#include "base/Texts.h"
#include "base/ui/AppIcon.h"
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

using namespace base;

namespace shell {

namespace {

// The guide's pages. Links inside the guide stay in this window; links to the web go to
// the desktop. A picture wider than the page is shown at the page's width. The guide's
// emblem is a drawing: where the toolkit cannot read drawings, the program's icon stands in.
class GuideBrowser : public QTextBrowser {
public:
    explicit GuideBrowser(QWidget* parent) : QTextBrowser(parent) { setOpenExternalLinks(true); }

protected:
    QVariant loadResource(int type, const QUrl& name) override {
        if (type != QTextDocument::ImageResource) return QTextBrowser::loadResource(type, name);
        if (name.path().endsWith(".svg") && !QImageReader::supportedImageFormats().contains("svg"))
            return appIcon().pixmap(64, 64).toImage();
        const QVariant data = QTextBrowser::loadResource(type, name);
        const QImage picture = QImage::fromData(data.toByteArray());
        const int width = viewport()->width() - 2 * static_cast<int>(document()->documentMargin());
        if (picture.isNull() || picture.width() <= width || width < 200) return data;
        return picture.scaledToWidth(width, Qt::SmoothTransformation);
    }
};

QPushButton* button(const char* name, int langOffset, QWidget* parent) {
    auto* b = new QPushButton(QString::fromStdString(designCaption(name, langOffset)), parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

HelpWindow::HelpWindow(const Texts& texts, QWidget* parent)
    : QWidget(parent, Qt::Window), ComIndietro(button("ComIndietro", texts.LangOffset, this)),
      ComAvanti(button("ComAvanti", texts.LangOffset, this)),
      LabTrova(
          new QLabel(QString::fromStdString(designCaption("LabTrova", texts.LangOffset)), this)),
      TextTrova(new QLineEdit(this)), ComTrovaPrec(button("ComTrovaPrec", texts.LangOffset, this)),
      ComTrovaSucc(button("ComTrovaSucc", texts.LangOffset, this)),
      TextGuida(new GuideBrowser(this)),
      titleWithoutPage_(QString::fromStdString(texts.text(47))) { // "Guida Utente"
    setObjectName("frmGuida");
    // Help open at exit does not keep the program running.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowIcon(appIcon());
    setWindowTitle(titleWithoutPage_);
    LabTrova->setObjectName("LabTrova");
    LabTrova->setBuddy(TextTrova);
    TextTrova->setObjectName("TextTrova");
    TextTrova->setClearButtonEnabled(true);
    TextGuida->setObjectName("TextGuida");
    ComIndietro->setEnabled(false);
    ComAvanti->setEnabled(false);

    auto* bar = new QHBoxLayout;
    bar->addWidget(ComIndietro);
    bar->addWidget(ComAvanti);
    bar->addStretch();
    bar->addWidget(LabTrova);
    bar->addWidget(TextTrova);
    bar->addWidget(ComTrovaPrec);
    bar->addWidget(ComTrovaSucc);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(TextGuida, 1);

    connect(ComIndietro, &QPushButton::clicked, TextGuida, &QTextBrowser::backward);
    connect(ComAvanti, &QPushButton::clicked, TextGuida, &QTextBrowser::forward);
    connect(TextGuida, &QTextBrowser::backwardAvailable, ComIndietro, &QWidget::setEnabled);
    connect(TextGuida, &QTextBrowser::forwardAvailable, ComAvanti, &QWidget::setEnabled);
    connect(TextGuida, &QTextBrowser::sourceChanged, this, &HelpWindow::showTitle);
    connect(TextTrova, &QLineEdit::returnPressed, this, [this] { find(false); });
    connect(ComTrovaSucc, &QPushButton::clicked, this, [this] { find(false); });
    connect(ComTrovaPrec, &QPushButton::clicked, this, [this] { find(true); });
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
        TextTrova->setFocus(Qt::ShortcutFocusReason);
        TextTrova->selectAll();
    });
    connect(new QShortcut(QKeySequence::FindNext, this), &QShortcut::activated, this,
            [this] { find(false); });
    connect(new QShortcut(QKeySequence::FindPrevious, this), &QShortcut::activated, this,
            [this] { find(true); });

    // At the right of the screen, so the frame stays in sight.
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    resize(std::min(900, area.width() * 3 / 4), std::min(760, area.height() * 7 / 8));
    move(area.right() - width() - 16, area.top() + 32);
}

void HelpWindow::showGuide(const QString& file, const QString& chapter) {
    const bool firstShown = !isVisible();
    show(); // first, so the pictures know the page's width
    raise();
    activateWindow();
    QUrl page = QUrl::fromLocalFile(file);
    if (!chapter.isEmpty()) page.setFragment(chapter);
    TextGuida->setSource(page);
    // The page may already have been shown, scrolled elsewhere since.
    if (chapter.isEmpty())
        TextGuida->verticalScrollBar()->setValue(0);
    else
        TextGuida->scrollToAnchor(chapter);
    // The keys scroll the page until the find field is used.
    if (firstShown) TextGuida->setFocus();
}

void HelpWindow::showTitle() {
    const QString page = TextGuida->documentTitle();
    setWindowTitle(page.isEmpty() ? titleWithoutPage_ : page);
}

void HelpWindow::find(bool backward) {
    const QString text = TextTrova->text();
    if (text.isEmpty()) return;
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    const QTextCursor before = TextGuida->textCursor();
    bool found = TextGuida->find(text, flags);
    if (!found) {
        // Round the end of the page: once more from the other end.
        QTextCursor from = before;
        from.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        TextGuida->setTextCursor(from);
        found = TextGuida->find(text, flags);
        if (!found) TextGuida->setTextCursor(before);
    }
    TextTrova->setStyleSheet(found ? QString() : QStringLiteral("background: #fdd;"));
}

} // namespace shell
