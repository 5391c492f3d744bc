#include "auxiliary/ui/frmProgressBar.h"
#include "auxiliary/TransferProgress.h"
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <algorithm>
#include <cmath>

using namespace base;

namespace auxiliary {

frmProgressBar::frmProgressBar(WindowContext& context, QWidget* parent)
    : ChildWindow(context, 0, parent), ProgressBar1(new QProgressBar(this)),
      LabFase(new QLabel(this)), LabTempo(new QLabel(this)) {
    setObjectName("frmProgressBar");
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setTextVisible(false);
    LabFase->setObjectName("LabFase");
    LabTempo->setObjectName("LabTempo");
    LabTempo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void frmProgressBar::showProgress(const QString& phase, const TransferProgress& progress) {
    LabFase->setText(phase);
    LabTempo->setText(QString::fromStdString(transferProgressText(progress, ctx.texts.LangOffset)));
    const int range = ProgressBar1->maximum() - ProgressBar1->minimum();
    const long long share =
        progress.total > 0 ? static_cast<long long>(progress.done) * range / progress.total : 0;
    ProgressBar1->setValue(ProgressBar1->minimum() + static_cast<int>(share));
}

frmProgressBar* frmProgressBar::open(WindowContext& ctx, ChildWindow* opener) {
    auto* w = new frmProgressBar(ctx);
    w->opener_ = opener ? opener->subWindow() : nullptr;
    QMdiArea* area = ctx.frame ? ctx.frame->mdiArea() : nullptr;
    QMdiSubWindow* inUse = area ? area->activeSubWindow() : nullptr;
    if (area) area->addSubWindow(w);
    w->Form_Load();
    w->placementWidget()->show();
    // The area activates what it shows: the window in use gets the focus back.
    if (inUse && area->activeSubWindow() != inUse) area->setActiveSubWindow(inUse);
    return w;
}

void frmProgressBar::Form_Load() {
    QMdiSubWindow* own = subWindow();
    // The opener closes it; the user cannot, and it stays above the other children.
    if (own)
        own->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowStaysOnTopHint);
    setWindowTitle(QString::fromUtf8(kAppTitle));
    QWidget* frame = placementWidget();
    frame->setFixedSize(toPixelsX(BarWindowWidth), toPixelsY(BarWindowHeight));

    QMdiArea* area = ctx.frame ? ctx.frame->mdiArea() : nullptr;
    QWidget* active = opener_;
    if (!active && area) active = area->activeSubWindow();
    if (active == own) active = nullptr;
    TwipRect over;
    if (active) {
        const QRect g = active->geometry();
        over = {g.top() * ctx.app.TwipsPerPixelY, g.left() * ctx.app.TwipsPerPixelX,
                g.width() * ctx.app.TwipsPerPixelX, g.height() * ctx.app.TwipsPerPixelY};
        const auto* sub = qobject_cast<QMdiSubWindow*>(active);
        if (auto* child = sub ? qobject_cast<ChildWindow*>(sub->widget()) : nullptr)
            ctx.app.CurrentWinNo = child->tag().isEmpty() ? 0 : child->tag().at(0).unicode();
    } else if (area) {
        // No active child: centre over the whole area.
        const QSize s = area->viewport()->size();
        over = {0, 0, s.width() * ctx.app.TwipsPerPixelX, s.height() * ctx.app.TwipsPerPixelY};
    }
    placement_ = progressPlacement(over, BarWindowWidth, BarWindowHeight);
    frame->move(twipsToPixels(placement_.Left, ctx.app.TwipsPerPixelX),
                twipsToPixels(placement_.Top, ctx.app.TwipsPerPixelY));
}

void frmProgressBar::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    const int margin = toPixelsX(180);
    const int w = std::max(0, width() - 2 * margin);
    const int line = toPixelsY(300);
    const int top = std::max(0, (height() - 3 * line - toPixelsY(330)) / 2);
    LabFase->setGeometry(margin, top, w, line);
    ProgressBar1->setGeometry(margin, top + line + line / 2, w, toPixelsY(330));
    LabTempo->setGeometry(margin, top + 2 * line + toPixelsY(330), w, line);
}

} // namespace auxiliary
