#include "auxiliary/ui/frmAbout.h"
#include "auxiliary/AboutPlacement.h"
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <algorithm>

using namespace base;

namespace auxiliary {

namespace {
constexpr int kAboutId = 30;
constexpr int kDateId = 131;
} // namespace

frmAbout::frmAbout(WindowContext& context, QWidget* parent)
    : ChildWindow(context, base::AboutWindow, parent), lblTitolo(new QLabel(this)),
      lblAutore(new QLabel(this)), cmdOK(new QPushButton("OK", this)) {
    setObjectName("frmAbout");
    lblTitolo->setObjectName("lblTitolo");
    lblAutore->setObjectName("lblAutore");
    cmdOK->setObjectName("cmdOK");
    lblTitolo->setAlignment(Qt::AlignCenter);
    lblAutore->setAlignment(Qt::AlignCenter);
    QFont titleFont = lblTitolo->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    lblTitolo->setFont(titleFont);
    lblTitolo->setWordWrap(true);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, [this] { unloadWindow(); });
}

void frmAbout::Form_Load() {
    WindowRecord& rec = ctx.app.WinRec[base::AboutWindow];
    rec.State = 1;

    QWidget* frame = placementWidget();
    if (QMdiSubWindow* sub = subWindow())
        sub->setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint);
    frame->setFixedSize(toPixelsX(AboutWidth), toPixelsY(AboutHeight));
    double clientW = AboutWidth;
    double clientH = AboutHeight;
    if (ctx.frame && ctx.frame->mdiArea()) {
        const QSize client = ctx.frame->mdiArea()->viewport()->size();
        clientW = client.width() * ctx.app.TwipsPerPixelX;
        clientH = client.height() * ctx.app.TwipsPerPixelY;
    }
    const AboutOrigin origin = aboutPlacement(clientW, clientH, AboutWidth, AboutHeight);
    frame->move(toPixelsX(origin.Left), toPixelsY(origin.Top));

    if (ctx.frame) ctx.frame->setMenuEntryEnabled("mnuInfo", false);
    setWindowTitle(QString::fromUtf8(kAppTitle) + " - " + ctx.text(kAboutId) +
                   QString::fromUtf8(kProductName));
    // The release the status bar names.
    lblTitolo->setText(QString::fromStdString(programNameLine()));
    lblAutore->setText(ctx.text(kDateId));
    layoutControls();
    countIn();
}

void frmAbout::Form_Activate() {
    if (ctx.frame) ctx.frame->ChildUnloaded();
}

void frmAbout::layoutControls() {
    const int margin = toPixelsX(120);
    const int w = std::max(0, width() - 2 * margin);
    const int lineH = toPixelsY(375);
    lblTitolo->setGeometry(margin, toPixelsY(240), w, 2 * lineH);
    lblAutore->setGeometry(margin, toPixelsY(240) + 2 * lineH, w, lineH);
    const int buttonW = toPixelsX(1200);
    const int buttonH = toPixelsY(375);
    cmdOK->setGeometry((width() - buttonW) / 2, std::max(0, height() - buttonH - margin), buttonW,
                       buttonH);
}

void frmAbout::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    layoutControls();
}

void frmAbout::closeEvent(QCloseEvent* event) {
    storePlacementAtUnload();
    if (ctx.frame) ctx.frame->setMenuEntryEnabled("mnuInfo", true);
    countOut();
    event->accept();
}

} // namespace auxiliary
