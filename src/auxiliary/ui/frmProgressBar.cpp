#include "auxiliary/ui/frmProgressBar.h"
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <algorithm>
#include <cmath>

frmProgressBar::frmProgressBar(WindowContext& context, QWidget* parent)
    : ChildWindow(context, 0, parent), ProgressBar1(new QProgressBar(this)) {
    setObjectName("frmProgressBar");
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setTextVisible(false);
}

frmProgressBar* frmProgressBar::open(WindowContext& ctx) {
    auto* w = new frmProgressBar(ctx);
    if (ctx.frame && ctx.frame->mdiArea()) ctx.frame->mdiArea()->addSubWindow(w);
    w->Form_Load();
    w->placementWidget()->show();
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
    QMdiSubWindow* active = area ? area->activeSubWindow() : nullptr;
    if (active == own) active = nullptr;
    TwipRect over;
    if (active) {
        const QRect g = active->geometry();
        over = {g.top() * ctx.app.TwipsPerPixelY, g.left() * ctx.app.TwipsPerPixelX,
                g.width() * ctx.app.TwipsPerPixelX, g.height() * ctx.app.TwipsPerPixelY};
        if (auto* child = qobject_cast<ChildWindow*>(active->widget()))
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
    ProgressBar1->setGeometry(margin, (height() - toPixelsY(330)) / 2,
                              std::max(0, width() - 2 * margin), toPixelsY(330));
}
