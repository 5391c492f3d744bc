#include "auxiliary/ui/LimitedTextEdit.h"
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

namespace auxiliary {

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

QString LimitedTextEdit::storable(const QString& text) {
    if (!latin1Only_) return text;
    QString kept;
    QString left;
    for (const QChar c : text)
        (c.unicode() <= 0xFF ? kept : left).append(c);
    if (!left.isEmpty()) emit refused(left);
    return kept;
}

void LimitedTextEdit::keyPressEvent(QKeyEvent* event) {
    if (!isReadOnly() && !event->text().isEmpty() && storable(event->text()) != event->text()) {
        event->accept();
        return;
    }
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
    if ((maxLength_ <= 0 && !latin1Only_) || !source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QString pasted = storable(source->text());
    pasted.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    pasted.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QString text = maxLength_ > 0 ? fitting(pasted, room()) : pasted;
    if (!text.isEmpty() || textCursor().hasSelection()) insertPlainText(text);
}

void LimitedTextEdit::inputMethodEvent(QInputMethodEvent* event) {
    if ((maxLength_ <= 0 && !latin1Only_) || event->commitString().isEmpty()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    const QString kept = storable(event->commitString());
    const QString commit = maxLength_ > 0 ? fitting(kept, room()) : kept;
    if (commit == event->commitString()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent trimmed(event->preeditString(), event->attributes());
    trimmed.setCommitString(commit, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&trimmed);
}

} // namespace auxiliary
