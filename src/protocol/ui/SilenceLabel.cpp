#include "protocol/ui/SilenceLabel.h"
#include "protocol/UnitLink.h"
#include <QElapsedTimer>
#include <QTimer>
#include <memory>

namespace protocol {

SilenceLabel::SilenceLabel(int langOffset, const UnitLink* link, QWidget* parent)
    : QLabel(parent), langOffset_(langOffset), link_(link), timer_(new QTimer(this)) {
    setObjectName("LabNessunDato");
    setStyleSheet(QStringLiteral("color: #b00000"));
    setWordWrap(true);
    hide();
    timer_->setObjectName("TimerNessunDato");
    timer_->setInterval(CheckIntervalMs);
    connect(timer_, &QTimer::timeout, this, &SilenceLabel::check);
    msClock_ = [started = std::make_shared<QElapsedTimer>()] {
        if (!started->isValid()) started->start();
        return static_cast<int64_t>(started->elapsed());
    };
}

void SilenceLabel::start() {
    silence_.start(msClock_());
    hide();
    timer_->start();
}

void SilenceLabel::stop() {
    silence_.stop();
    timer_->stop();
    hide();
}

void SilenceLabel::arrived() {
    if (!timer_->isActive()) return;
    silence_.arrived(msClock_());
    if (!isHidden()) hide();
}

void SilenceLabel::check() {
    // Paused, the silence is the user's own: counted again from the end of the pause.
    if (link_ && link_->suspended()) silence_.arrived(msClock_());
    const int64_t seconds = silence_.silentSeconds(msClock_());
    if (seconds > 0) setText(QString::fromStdString(noDataNotice(seconds, langOffset_)));
    setVisible(seconds > 0);
}

} // namespace protocol
