#include "base/ui/ChildWindow.h"
#include "base/ui/AppIcon.h"
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <algorithm>
#include <cmath>

namespace base {

ChildWindow::ChildWindow(WindowContext& context, int windowNumber, QWidget* parent)
    : QWidget(parent), ctx(context), number_(windowNumber) {
    tag_ = QString(QChar(windowNumber)) + QString(19, QChar(0));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(appIcon());
}

QMdiSubWindow* ChildWindow::subWindow() const {
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

int ChildWindow::toPixelsX(int twips) const {
    return twipsToPixels(twips, ctx.app.TwipsPerPixelX);
}
int ChildWindow::toPixelsY(int twips) const {
    return twipsToPixels(twips, ctx.app.TwipsPerPixelY);
}
int ChildWindow::toTwipsX(int px) const {
    return pixelsToTwips(px, ctx.app.TwipsPerPixelX);
}
int ChildWindow::toTwipsY(int px) const {
    return pixelsToTwips(px, ctx.app.TwipsPerPixelY);
}

QWidget* ChildWindow::placementWidget() {
    return subWindow() ? static_cast<QWidget*>(subWindow()) : this;
}

void ChildWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && ctx.frame) {
        ctx.frame->popupEditMenu(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void ChildWindow::unloadWindow() {
    placementWidget()->close();
}

void ChildWindow::Form_Activate() {
    if (ctx.frame) ctx.frame->ChildActivated();
}

namespace {
bool takesText(const QWidget* w) {
    if (const auto* line = qobject_cast<const QLineEdit*>(w)) return !line->isReadOnly();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(w)) return !plain->isReadOnly();
    if (const auto* rich = qobject_cast<const QTextEdit*>(w)) return !rich->isReadOnly();
    if (const auto* combo = qobject_cast<const QComboBox*>(w)) return combo->isEditable();
    return qobject_cast<const QAbstractSpinBox*>(w) != nullptr;
}
} // namespace

void ChildWindow::focusFirstInput() {
    QWidget* firstFocusable = nullptr;
    // The focus chain follows the order the controls were created in, the tab order.
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (!isAncestorOf(w) || !w->isEnabled() || !w->isVisibleTo(this) ||
            !(w->focusPolicy() & Qt::TabFocus))
            continue;
        if (takesText(w)) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
        if (!firstFocusable) firstFocusable = w;
    }
    if (firstFocusable)
        firstFocusable->setFocus(Qt::OtherFocusReason);
    else
        setFocus(Qt::OtherFocusReason);
}

QSize ChildWindow::minimumContentSize() const {
    if (layout()) return layout()->minimumSize();
    const QRect used = childrenRect();
    return used.isValid() ? QSize(used.right() + 1, used.bottom() + 1) : QSize();
}

void ChildWindow::holdMinimumSize() {
    QMdiSubWindow* sub = subWindow();
    if (!sub || sub->minimumSize() == sub->maximumSize()) return;
    const QSize content = minimumContentSize();
    if (!content.isValid()) return;
    // The sub-window's own hint adds its title bar and borders to the content's minimum.
    setMinimumSize(content.boundedTo(maximumSize()));
    sub->setMinimumSize(sub->minimumSizeHint().boundedTo(sub->maximumSize()));
}

void ChildWindow::applyPlacement(const WindowRecord& rec) {
    holdMinimumSize();
    QWidget* w = placementWidget();
    w->setGeometry(toPixelsX(rec.Left), toPixelsY(rec.Top), toPixelsX(rec.Width),
                   toPixelsY(rec.Height));
}

WindowRecord ChildWindow::placeAtLoad(const LoadPlacement& policy) {
    const WindowRecord rec = placedAtLoad(ctx.app.WinRec[number_], policy);
    applyPlacement(rec);
    ctx.app.WinRec[number_] = rec;
    return rec;
}

void ChildWindow::storePlacementAtUnload() {
    WindowRecord& rec = ctx.app.WinRec[number_];
    QWidget* w = placementWidget();
    const bool minimised = w->isMinimized();
    const bool maximised = w->isMaximized();
    if (!minimised && !maximised) {
        const QRect g = w->geometry();
        rec.Top = toTwipsY(g.top());
        rec.Left = toTwipsX(g.left());
        rec.Width = toTwipsX(g.width());
        rec.Height = toTwipsY(g.height());
    }
    if (ctx.app.Closing) {
        if (minimised)
            rec.State = 2;
        else if (!maximised)
            rec.State = 1;
    } else {
        rec.State = 0;
    }
}

void ChildWindow::countIn() {
    ++ctx.app.ChildCount;
    if (ctx.frame) ctx.frame->ChildActivated();
}

void ChildWindow::countOut() {
    if (ctx.app.ChildCount > 0) --ctx.app.ChildCount;
    if (ctx.frame) ctx.frame->ChildUnloaded();
}

} // namespace base
