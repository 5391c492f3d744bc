#pragma once
#include "base/LoadPlacement.h"
#include "base/ui/WindowContext.h"
#include <QWidget>

class QMdiSubWindow;

namespace base {

// Base of every child window of the main frame: its window number and tag, its placement
// record in WinRec, the open-window count and the frame's child bookkeeping.
class ChildWindow : public QWidget {
    Q_OBJECT
public:
    ChildWindow(WindowContext& ctx, int windowNumber, QWidget* parent = nullptr);

    int windowNumber() const { return number_; }
    // The tag: the character whose code is the window number, then 19 NULs.
    const QString& tag() const { return tag_; }
    // The sub-window of the MDI area that holds this window (nullptr before it is added).
    QMdiSubWindow* subWindow() const;

    // Called by the frame once the window sits in its sub-window: place it, set the
    // caption, count it among the open children.
    virtual void Form_Load() = 0;
    // A message was sent while ShowSentMsg is set (six hex digits); the control panel shows it.
    virtual void showSentMessage(const std::string& /*hex*/) {}

    // Unloads the window: closes its sub-window (or the window itself when it has none),
    // which runs its close handler and releases both.
    void unloadWindow();

    // The window became the active child: tells the frame, which enables what it offers.
    virtual void Form_Activate();
    // Gives the keyboard to the first enabled text input, else to the first control that
    // takes focus by tab; the window itself when it has neither.
    void focusFirstInput();

    // The sub-window is never made smaller than the controls need (tiling, cascading, a
    // placement stored small): its minimum becomes the frame around minimumContentSize().
    // A window of fixed size is left as it is.
    void holdMinimumSize();

    // The document's own history, offered by Edit > Annulla / Ripeti; none by default.
    virtual bool canUndo() const { return false; }
    virtual bool canRedo() const { return false; }
    virtual void undo() {}
    virtual void redo() {}

signals:
    // What canUndo or canRedo answer may have changed.
    void historyChanged();

protected:
    // The smallest client area that shows every control: the layout's minimum, else the
    // extent of the controls as placed. Windows whose controls stretch with the window say
    // what they need.
    virtual QSize minimumContentSize() const;
    // A right click on the window's background (or on a label, which passes the click on)
    // pops up the frame's Edit menu.
    void mousePressEvent(QMouseEvent* event) override;
    // Applies Top, Left, Width, Height (twips) of a record to the sub-window.
    void applyPlacement(const WindowRecord& rec);
    // The load handler's placement, the one rule every child window follows: the record is
    // completed as the policy says (LoadPlacement.h), the window takes its place and the
    // record is marked open. Returns the record as placed.
    WindowRecord placeAtLoad(const LoadPlacement& policy);
    // The common case: a record never placed (no width or height) gets position 0, 0 and
    // the default size, which also becomes the record's maxima.
    void placeAtLoad(int16_t defaultWidth, int16_t defaultHeight) {
        (void)placeAtLoad(LoadPlacement::ofSize(defaultWidth, defaultHeight)
                              .withMaxima(LoadPlacement::Maxima::Set));
    }
    // The widget whose geometry is the window's placement: the sub-window, or this.
    QWidget* placementWidget();
    // Stores the sub-window's placement into WinRec[number]; State as at unload: 0, or
    // while the program closes 1 for normal and 2 for minimised (maximised unchanged).
    void storePlacementAtUnload();
    // Count in / out of ChildCount, telling the frame.
    void countIn();
    void countOut();
    int toPixelsX(int twips) const;
    int toPixelsY(int twips) const;
    int toTwipsX(int px) const;
    int toTwipsY(int px) const;

    WindowContext& ctx;

private:
    int number_;
    QString tag_;
};

} // namespace base
