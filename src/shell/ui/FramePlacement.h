#pragma once
#include <QRect>
#include <QSize>

class QMainWindow;
namespace base {
struct AppState;
} // namespace base

namespace shell {

// The main window's place on the screen, kept in WinRec slot 1: restored at load (moved
// back onto a screen when no screen shows its menu bar), followed while the window is in
// normal state, stored when the program closes.
class FramePlacement {
public:
    FramePlacement(QMainWindow& window, base::AppState& app) : window_(window), app_(app) {}

    // Applies slot 1: its size and place, or the first size when it holds none; then its
    // State (1 minimised, 2 maximised).
    void restore();
    // Slot 1 from the last normal placement and the present window state.
    void store();
    // The window moved, was resized or changed state: a normal placement is remembered.
    void remember();
    // A child window's first size (twips, its frame included): the main window's first
    // size (no stored placement) leaves room for the largest.
    void fitFirstSizeTo(int widthTwips, int heightTwips);

private:
    QSize firstSize() const;
    QPoint reachablePosition(const QRect& frame) const;

    QMainWindow& window_;
    base::AppState& app_;
    QRect normal_;
    QSize largestChild_; // twips
};

} // namespace shell
