#pragma once
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTextBrowser;
namespace base {
class Texts;
} // namespace base

namespace shell {

// The program's own window for the user guide, so Help needs no web browser: the guide's
// pages with their pictures and links, Back and Forward, and a find field (Ctrl+F; Enter or
// F3 for the next match, Shift+F3 for the one before, round the end of the page). The frame
// keeps one and brings it forward at every request.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    HelpWindow(const base::Texts& texts, QWidget* parent);

    // Shows the guide file at a chapter (an id in it; empty: the top of the guide) and
    // brings the window forward.
    void showGuide(const QString& file, const QString& chapter);

private:
    // Selects the next (or previous) match of the find field; the field turns pink while
    // the page holds none.
    void find(bool backward);
    // The window's title is the page's own.
    void showTitle();

    QPushButton* ComIndietro;
    QPushButton* ComAvanti;
    QLabel* LabTrova;
    QLineEdit* TextTrova;
    QPushButton* ComTrovaPrec;
    QPushButton* ComTrovaSucc;
    QTextBrowser* TextGuida;
    QString titleWithoutPage_;
};

} // namespace shell
