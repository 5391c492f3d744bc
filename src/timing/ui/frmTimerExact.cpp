#include "timing/ui/frmTimerExact.h"
#include "timing/modTimerExact.h"
#include <QCloseEvent>
#include <QLabel>
#include <QLocale>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTime>
#include <QTimer>
#include <algorithm>

using namespace base;

namespace timing {

namespace {
// The system's long time format without a time zone.
QString timeOfDay() {
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return QLocale::system().toString(QTime::currentTime(), format.trimmed());
}
} // namespace

frmTimerExact::frmTimerExact(WindowContext& context, QWidget* parent)
    : ChildWindow(context, 0, parent), Command4(new QPushButton("Start", this)),
      Command6(new QPushButton("Stop", this)), Label3(new QLabel("Time:", this)),
      Label1(new QLabel(this)), Label4(new QLabel("Milliseconds:", this)), Label2(new QLabel(this)),
      Timer2(new QTimer(this)), VScroll1(new QScrollBar(Qt::Vertical, this)) {
    setObjectName("frmTimerExact");
    Command4->setObjectName("Command4");
    Command6->setObjectName("Command6");
    Label3->setObjectName("Label3");
    Label1->setObjectName("Label1");
    Label4->setObjectName("Label4");
    Label2->setObjectName("Label2");
    Timer2->setObjectName("Timer2");
    VScroll1->setObjectName("VScroll1");
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    Timer2->setInterval(100);
    connect(Timer2, &QTimer::timeout, this, &frmTimerExact::Timer2_Timer);
    connect(Command4, &QPushButton::clicked, this, &frmTimerExact::Command4_Click);
    connect(Command6, &QPushButton::clicked, this, &frmTimerExact::Command6_Click);
}

void frmTimerExact::Form_Load() {
    if (QMdiSubWindow* sub = subWindow())
        sub->setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(" Timer Exact");
    placementWidget()->resize(toPixelsX(FixedWidth), toPixelsY(FixedHeight));
    timerDelay_ = 1;
    Label1->setText("");
    Label2->setText("0");
    Timer2->start();
    countIn();
}

void frmTimerExact::StartTimer1() {
    ctx.timer.StartTimer1(timerDelay_, timerResolution_);
}

void frmTimerExact::StopTimer1() {
    ctx.timer.StopTimer1();
}

void frmTimerExact::Command4_Click() {
    Label2->setText("");
    ctx.timer.clock().TickCounter.store(0, std::memory_order_relaxed);
    Command4->setEnabled(false);
    StartTimer1();
}

void frmTimerExact::Command6_Click() {
    StopTimer1();
    ctx.timer.clock().TickCounter.store(0, std::memory_order_relaxed);
    Label2->setText("0");
    Command4->setEnabled(true);
}

void frmTimerExact::Timer2_Timer() {
    Label1->setText(timeOfDay());
}

void frmTimerExact::layoutControls() {
    const int row1 = toPixelsY(120);
    const int row2 = toPixelsY(480);
    const int row3 = toPixelsY(960);
    const int lineH = toPixelsY(285);
    const int left = toPixelsX(120);
    const int captionW = toPixelsX(1200);
    const int scrollW = toPixelsX(255);
    const int valueLeft = left + captionW;
    const int valueW = std::max(0, width() - scrollW - toPixelsX(120) - valueLeft);
    Label3->setGeometry(left, row1, captionW, lineH);
    Label1->setGeometry(valueLeft, row1, valueW, lineH);
    Label4->setGeometry(left, row2, captionW, lineH);
    Label2->setGeometry(valueLeft, row2, valueW, lineH);
    const int buttonW = toPixelsX(1080);
    const int buttonH = toPixelsY(375);
    Command4->setGeometry(left, row3, buttonW, buttonH);
    Command6->setGeometry(left + buttonW + toPixelsX(120), row3, buttonW, buttonH);
    VScroll1->setGeometry(width() - scrollW, 0, scrollW, height());
}

void frmTimerExact::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    QWidget* frame = placementWidget();
    const QSize fixed(toPixelsX(FixedWidth), toPixelsY(FixedHeight));
    // The window keeps its size: any other size is set back at once.
    if (!frame->isMinimized() && !frame->isMaximized() && frame->size() != fixed)
        frame->resize(fixed);
    layoutControls();
}

void frmTimerExact::closeEvent(QCloseEvent* event) {
    Timer2->stop();
    StopTimer1();
    countOut();
    event->accept();
}

} // namespace timing
