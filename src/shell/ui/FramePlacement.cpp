#include "shell/ui/FramePlacement.h"
#include "base/ScreenPlacement.h"
#include "base/ui/WindowContext.h"
#include <QGuiApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <vector>

using namespace base;

namespace shell {

namespace {
bool inNormalState(const QWidget& w) {
    return !(w.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
}
} // namespace

void FramePlacement::restore() {
    const WindowRecord& rec = app_.WinRec[base::MainWindow];
    const double tx = app_.TwipsPerPixelX;
    const double ty = app_.TwipsPerPixelY;
    if (rec.Width > 0 && rec.Height > 0) {
        window_.resize(twipsToPixels(rec.Width, tx), twipsToPixels(rec.Height, ty));
        window_.move(
            reachablePosition(QRect(twipsToPixels(rec.Left, tx), twipsToPixels(rec.Top, ty),
                                    window_.width(), window_.height())));
    } else {
        window_.resize(firstSize());
    }
    normal_ = QRect(window_.pos(), window_.size());
    if (rec.State == 1)
        window_.setWindowState(Qt::WindowMinimized);
    else if (rec.State == 2)
        window_.setWindowState(Qt::WindowMaximized);
}

void FramePlacement::remember() {
    if (inNormalState(window_)) normal_ = QRect(window_.pos(), window_.size());
}

void FramePlacement::store() {
    WindowRecord& rec = app_.WinRec[base::MainWindow];
    remember();
    rec.Left = pixelsToTwips(normal_.left(), app_.TwipsPerPixelX);
    rec.Top = pixelsToTwips(normal_.top(), app_.TwipsPerPixelY);
    rec.Width = pixelsToTwips(normal_.width(), app_.TwipsPerPixelX);
    rec.Height = pixelsToTwips(normal_.height(), app_.TwipsPerPixelY);
    const Qt::WindowStates st = window_.windowState();
    rec.State = (st & Qt::WindowMinimized) ? 1 : (st & Qt::WindowMaximized) ? 2 : 0;
}

void FramePlacement::fitFirstSizeTo(int widthTwips, int heightTwips) {
    largestChild_ = largestChild_.expandedTo(QSize(widthTwips, heightTwips));
}

// The first run: room for the largest child window at its first size, within the screen.
QSize FramePlacement::firstSize() const {
    QSize size(1024, 720);
    if (largestChild_.isValid()) {
        const auto* mdi = qobject_cast<const QMdiArea*>(window_.centralWidget());
        const int border = 2 * (mdi ? mdi->frameWidth() : 0) + 8;
        const int bars =
            window_.menuBar()->sizeHint().height() + window_.statusBar()->sizeHint().height();
        size = size.expandedTo(
            QSize(twipsToPixels(largestChild_.width(), app_.TwipsPerPixelX) + border,
                  twipsToPixels(largestChild_.height(), app_.TwipsPerPixelY) + bars + border));
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(16, 48));
    return size;
}

// A stored place whose menu bar no screen shows (another monitor, a damaged record) is
// moved onto the nearest screen.
QPoint FramePlacement::reachablePosition(const QRect& frame) const {
    std::vector<ScreenRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect a = screen->availableGeometry();
        screens.push_back({a.x(), a.y(), a.width(), a.height()});
    }
    const int strip = window_.style()->pixelMetric(QStyle::PM_TitleBarHeight) +
                      window_.menuBar()->sizeHint().height();
    const ScreenRect placed =
        placeOnScreen({frame.x(), frame.y(), frame.width(), frame.height()}, screens, strip);
    return {placed.x, placed.y};
}

} // namespace shell
