#include "auxiliary/ui/LimitedTextEdit.h"
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

namespace {
bool isLineEnd(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator ||
           c == QChar::LineSeparator;
}

int storedLengthOf(const QString& text) {
    int n = static_cast<int>(text.size());
    for (const QChar c : text)
        if (isLineEnd(c)) ++n;
    return n;
}
} // namespace

QString LimitedTextEdit::boxText() const {
    QString text = document()->toRawText();
    for (QChar& c : text)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) c = QLatin1Char('\n');
    return text;
}

int LimitedTextEdit::storedLength() const {
    return storedLengthOf(document()->toRawText());
}

int LimitedTextEdit::room() const {
    const QTextCursor cursor = textCursor();
    const int selected = storedLengthOf(cursor.selectedText());
    return maxLength_ - (storedLength() - selected);
}

QString LimitedTextEdit::fitting(const QString& text, int room) {
    int used = 0;
    qsizetype n = 0;
    while (n < text.size()) {
        const int cost = isLineEnd(text[n]) ? 2 : 1;
        // A surrogate pair is kept or dropped whole.
        const qsizetype width = text[n].isHighSurrogate() && n + 1 < text.size() ? 2 : 1;
        if (used + cost * width > room) break;
        used += cost * static_cast<int>(width);
        n += width;
    }
    return text.left(n);
}

void LimitedTextEdit::keyPressEvent(QKeyEvent* event) {
    if (maxLength_ > 0 && !isReadOnly()) {
        const QString typed = event->text();
        const bool inserts = !typed.isEmpty() && (typed[0].isPrint() || typed[0] == '\r' ||
                                                  typed[0] == '\n' || typed[0] == '\t');
        if (inserts && storedLengthOf(typed) > room()) {
            event->accept();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void LimitedTextEdit::insertFromMimeData(const QMimeData* source) {
    if (maxLength_ <= 0 || !source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QString pasted = source->text();
    pasted.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    pasted.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QString text = fitting(pasted, room());
    if (!text.isEmpty() || textCursor().hasSelection()) insertPlainText(text);
}

void LimitedTextEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (maxLength_ <= 0 || event->commitString().isEmpty()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    const QString commit = fitting(event->commitString(), room());
    if (commit == event->commitString()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent trimmed(event->preeditString(), event->attributes());
    trimmed.setCommitString(commit, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&trimmed);
}
