#include "shell/ui/TextCommands.h"
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace shell {

namespace {

template <class Fn> void onFocus(Fn fn) {
    QWidget* w = QApplication::focusWidget();
    if (auto* le = qobject_cast<QLineEdit*>(w))
        fn(le);
    else if (auto* pe = qobject_cast<QPlainTextEdit*>(w))
        fn(pe);
    else if (auto* te = qobject_cast<QTextEdit*>(w))
        fn(te);
}

// The text box with the keyboard, when it has a step to undo (or redo).
template <class Fn> bool onTextHistory(bool undo, Fn fn) {
    QWidget* w = QApplication::focusWidget();
    if (auto* le = qobject_cast<QLineEdit*>(w); le && !le->isReadOnly()) {
        if (undo ? le->isUndoAvailable() : le->isRedoAvailable()) return fn(le), true;
    } else if (auto* pe = qobject_cast<QPlainTextEdit*>(w); pe && !pe->isReadOnly()) {
        if (undo ? pe->document()->isUndoAvailable() : pe->document()->isRedoAvailable())
            return fn(pe), true;
    } else if (auto* te = qobject_cast<QTextEdit*>(w); te && !te->isReadOnly()) {
        if (undo ? te->document()->isUndoAvailable() : te->document()->isRedoAvailable())
            return fn(te), true;
    }
    return false;
}

} // namespace

void applyTextCommand(TextCommand command) {
    onFocus([command](auto* w) {
        if (command == TextCommand::Cut)
            w->cut();
        else if (command == TextCommand::Copy)
            w->copy();
        else
            w->paste();
    });
}

bool hasTextStep(bool undo) {
    return onTextHistory(undo, [](auto*) {});
}

bool stepText(bool undo) {
    return onTextHistory(undo, [undo](auto* w) {
        if (undo)
            w->undo();
        else
            w->redo();
    });
}

} // namespace shell
