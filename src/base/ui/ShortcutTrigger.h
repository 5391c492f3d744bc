#pragma once
#include <QAction>
#include <QEvent>
#include <utility>

namespace base {

// Tells a menu entry's handler whether the entry was triggered by its keyboard shortcut
// (F1 on the guide entry asks for help on the window in use) or chosen from the menu.
class ShortcutTrigger : public QObject {
public:
    explicit ShortcutTrigger(QAction* action) : QObject(action) {
        action->installEventFilter(this);
    }
    // True when the trigger being handled came from the shortcut; read once per trigger.
    bool take() { return std::exchange(byShortcut_, false); }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Shortcut) byShortcut_ = true;
        return false;
    }

private:
    bool byShortcut_ = false;
};

} // namespace base
