#pragma once
#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;

namespace auxiliary {

// The notice window: a modeless panel with one label and a close button, kept above the
// main window. There is one shared instance; showing a notice while it is open replaces
// its text.
class frmAvviso3 : public QWidget {
    Q_OBJECT
public:
    // Shows text in the shared instance, creating it over owner if it is not open.
    static frmAvviso3* showNotice(const QString& text, QWidget* owner = nullptr);
    // The open instance, or nullptr.
    static frmAvviso3* instance();

    QLabel* Label;
    QPushButton* CommClose;

private:
    explicit frmAvviso3(QWidget* owner);
    static QPointer<frmAvviso3> shared_;
};

} // namespace auxiliary
