#include "shell/ui/SignalClosing.h"
#include "shell/RecoveryFiles.h"
#include "shell/ui/DocumentDispatch.h"
#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QThread>
#include <QTimer>
#include <QWidget>

using namespace base;

namespace shell {

namespace {
// How often the closing looks again whether the boxes' loops have returned.
constexpr int kRetryMs = 10;

std::tm localTime(const QDateTime& t) {
    std::tm when{};
    when.tm_year = t.date().year() - 1900;
    when.tm_mon = t.date().month() - 1;
    when.tm_mday = t.date().day();
    when.tm_hour = t.time().hour();
    when.tm_min = t.time().minute();
    when.tm_sec = t.time().second();
    return when;
}
} // namespace

SignalClosing::SignalClosing(AppState& app, DocumentDispatch& documents, MessageService& messages,
                             std::function<void()> closeProgram, QObject* parent)
    : QObject(parent), app_(app), documents_(documents), messages_(messages),
      closeProgram_(std::move(closeProgram)), timer_(new QTimer(this)) {
    timer_->setInterval(kRetryMs);
    connect(timer_, &QTimer::timeout, this, &SignalClosing::closeWhenFree);
}

void SignalClosing::begin() {
    if (begun_) return;
    begun_ = true;
    // A disk error on the way is said on stderr, not in a box that would wait.
    messages_.setUnattended();
    // Taken before any box is rejected, from the documents as they stand.
    recovered_ = documents_.writeRecoveryFiles(localTime(QDateTime::currentDateTime()));
    if (!recovered_.empty()) {
        const std::string failure = addToRecoveryList(app_, recovered_);
        if (!failure.empty())
            messages_.notifier().warning(app_.MsgTitle, kRecoveryListName + (": " + failure));
    }
    // The code that is running below us (a box waiting in its own loop) returns first.
    timer_->start();
}

void SignalClosing::closeWhenFree() {
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        return;
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        return;
    }
    // A rejected box's loop ends once its caller has it back; the program's own loop is
    // level 1 (none in tests).
    if (QThread::currentThread()->loopLevel() > 1) return;
    timer_->stop();
    closeProgram_();
}

} // namespace shell
