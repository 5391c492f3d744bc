#pragma once
#include <QPlainTextEdit>

namespace auxiliary {

// A multi-line text box with a maximum length counted as the text stands in an 8-bit file
// with CR LF line ends (a line end takes two characters). Typing that would pass the limit
// is refused; pasted, dropped or composed text is cut to what still fits. Kept to 8-bit
// text, it refuses the characters Latin-1 has not and says which (refused).
class LimitedTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit LimitedTextEdit(QWidget* parent = nullptr) : QPlainTextEdit(parent) {}

    void setMaxLength(int length) { maxLength_ = length; }
    int maxLength() const { return maxLength_; }
    void setLatin1Only(bool on) { latin1Only_ = on; }
    // The text with line feeds for line ends and every other character as typed.
    QString boxText() const;
    // The length of boxText() counted with two characters per line end.
    int storedLength() const;

signals:
    // Characters typed, pasted or composed that were left out: Latin-1 has no code for them.
    void refused(const QString& characters);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // Characters still free once the selection is replaced.
    int room() const;
    // The longest head of text that fits into room characters.
    static QString fitting(const QString& text, int room);
    // The text without the characters it may not hold; the others are told (refused).
    QString storable(const QString& text);

    int maxLength_ = 0; // 0: no limit
    bool latin1Only_ = false;
};

} // namespace auxiliary
