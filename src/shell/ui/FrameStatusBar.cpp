#include "shell/ui/FrameStatusBar.h"
#include "base/ShowMsg.h"
#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QTime>
#include <QTimer>

using namespace base;

namespace shell {

namespace {
constexpr int kLampMs = 300;
const QColor kLampRed(255, 0, 0);   // colour value 255 (0xBBGGRR)
const QColor kLampGreen(0, 255, 0); // colour value 65280

void setLampColour(QLabel* lamp, const QColor& colour) {
    QPalette p = lamp->palette();
    p.setColor(QPalette::Window, colour);
    lamp->setPalette(p);
}

QTimer* lampTimer(QObject* parent, const char* name) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(name);
    timer->setSingleShot(true);
    timer->setInterval(kLampMs);
    return timer;
}
} // namespace

FrameStatusBar::FrameStatusBar(QWidget* parent) : QWidget(parent) {
    setObjectName("Picture1");
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 0, 2, 0);
    auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name);
        return l;
    };
    LabelNomeAppl = label("LabelNomeAppl", " " + QString::fromStdString(programNameLine()) + " ");
    LabelNomeAppl->setFrameShape(QFrame::StyledPanel);
    Label1MIDIIn = label("Label1MIDIIn", "MIDI In");
    Label2MIDIIn = label("Label2MIDIIn", QString());
    Label1MIDIOut = label("Label1MIDIOut", "MIDI Out");
    Label2MidiOut = label("Label2MidiOut", QString());
    for (QLabel* lamp : {Label2MIDIIn, Label2MidiOut}) {
        lamp->setFixedSize(14, 14);
        lamp->setAutoFillBackground(true);
        lamp->setFrameShape(QFrame::Panel);
        lamp->setFrameShadow(QFrame::Sunken);
        setLampColour(lamp, QColor(64, 64, 64));
    }
    LabelData = label("LabelData", QString());
    LabelTime = label("LabelTime", QString());
    LabelData->setFrameShape(QFrame::StyledPanel);
    LabelTime->setFrameShape(QFrame::StyledPanel);
    row->addWidget(LabelNomeAppl);
    row->addSpacing(12);
    row->addWidget(Label1MIDIIn);
    row->addWidget(Label2MIDIIn);
    row->addSpacing(8);
    row->addWidget(Label1MIDIOut);
    row->addWidget(Label2MidiOut);
    row->addSpacing(12);
    LabelMessaggio = label("LabelMessaggio", QString());
    row->addWidget(LabelMessaggio, 1);
    row->addWidget(LabelData);
    row->addWidget(LabelTime);

    TimerLabel2MIDIIn = lampTimer(this, "TimerLabel2MIDIIn");
    connect(TimerLabel2MIDIIn, &QTimer::timeout, this, [this] {
        // 300 ms after the last message, however many came meanwhile.
        if (const qint64 since = lastInput_.elapsed(); since < kLampMs) {
            TimerLabel2MIDIIn->start(static_cast<int>(kLampMs - since));
            return;
        }
        setLampColour(Label2MIDIIn, lampInColour_);
    });
    TimerLabel2MIDIOut = lampTimer(this, "TimerLabel2MIDIOut");
    connect(TimerLabel2MIDIOut, &QTimer::timeout, this,
            [this] { setLampColour(Label2MidiOut, lampOutColour_); });
    TimerOrologio = new QTimer(this);
    TimerOrologio->setObjectName("TimerOrologio");
    TimerOrologio->setInterval(1000);
    connect(TimerOrologio, &QTimer::timeout, this, &FrameStatusBar::tickClock);
}

void FrameStatusBar::start() {
    lampInColour_ = Label2MIDIIn->palette().color(QPalette::Window);
    lampOutColour_ = Label2MidiOut->palette().color(QPalette::Window);
    tickClock();
    TimerOrologio->start();
}

void FrameStatusBar::tickClock() {
    const QLocale locale;
    LabelData->setText(" " + locale.toString(QDate::currentDate(), QLocale::LongFormat) + " ");
    LabelTime->setText(" " + QTime::currentTime().toString("HH:mm:ss") + " ");
}

void FrameStatusBar::outputActivity() {
    setLampColour(Label2MidiOut, kLampRed);
    TimerLabel2MIDIOut->start();
}

// Called for every message decoded: under a flood only the clock is read; the lamp is
// painted when it turns green and when its timer ends.
void FrameStatusBar::inputActivity() {
    lastInput_.start();
    if (TimerLabel2MIDIIn->isActive()) return;
    setLampColour(Label2MIDIIn, kLampGreen);
    TimerLabel2MIDIIn->start(kLampMs);
}

void FrameStatusBar::showMessage(const QString& text) {
    LabelMessaggio->setText(text);
}

} // namespace shell
