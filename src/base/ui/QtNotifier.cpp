#include "base/ui/QtNotifier.h"
#include <QMessageBox>

namespace base {

void QtNotifier::warning(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Ok, parent_);
    box.exec();
}

Notifier::Answer QtNotifier::question(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::Question, QString::fromStdString(title),
                    QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void QtNotifier::notice(const std::string& text) {
    if (noticeHandler_)
        noticeHandler_(QString::fromStdString(text));
    else
        warning("", text);
}

} // namespace base
