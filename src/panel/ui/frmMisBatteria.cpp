#include "panel/ui/frmMisBatteria.h"
#include "panel/BatteryScreen.h"
#include "panel/BatteryText.h"
#include "protocol/Decoder.h"
#include "timing/modTimerExact.h"
#include "transport/MidiPort.h"
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStringList>
#include <QTimer>
#include <memory>

using namespace base;
using namespace protocol;

namespace panel {

namespace {
constexpr int kMsgInsertOnly = 1; // the text given
const QString kStart = QStringLiteral("START");
const QString kStopCaption = QStringLiteral("STOP");

// Layout, twips from the top left of the client area.
constexpr int kPictureLeft = 660;
constexpr int kPictureTop = 120;
constexpr int kOrdLeft = 60;
constexpr int kOrdWidth = 540;
constexpr int kLineHeight = 255;
constexpr int kSideLeft = kPictureLeft + PictureWidth + 180;
constexpr int kSideWidth = 1500;
} // namespace

frmMisBatteria::frmMisBatteria(WindowContext& context, QWidget* parent)
    : ChildWindow(context, base::BatteryWindow, parent), ComStart(new QPushButton(kStart, this)),
      Picture1(new BatteryPicture(rec_, screen_, context.app.TwipsPerPixelX,
                                  context.app.TwipsPerPixelY, this)),
      LabVBatt(new QLabel(this)), LabVMax(new QLabel(this)), LabVMin(new QLabel(this)),
      LabTmpIniSca(new QLabel(this)), LabTmpFineSca(new QLabel(this)),
      HScrollTempoDiv(new QScrollBar(Qt::Horizontal, this)), LabTempoDivVal(new QLabel(this)),
      HScrollTempoMem(new QScrollBar(Qt::Horizontal, this)), TimerMisBatteria(new QTimer(this)),
      LabRot(new QLabel(this)), LabStato(new QLabel(this)), LabOnOff(new QLabel(this)),
      LabNessunDato(new QLabel(this)), TimerNessunDato(new QTimer(this)),
      repaintTimer_(new QTimer(this)) {
    setObjectName("frmMisBatteria");
    ComStart->setObjectName("ComStart");
    Picture1->setObjectName("Picture1");
    for (int i = 0; i < static_cast<int>(Ord.size()); ++i) {
        Ord[static_cast<size_t>(i)] = new QLabel(this);
        Ord[static_cast<size_t>(i)]->setObjectName(QString("Ord_%1").arg(i));
        Ord[static_cast<size_t>(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    LabVBatt->setObjectName("LabVBatt");
    LabVMax->setObjectName("LabVMax");
    LabVMin->setObjectName("LabVMin");
    LabTmpIniSca->setObjectName("LabTmpIniSca");
    LabTmpFineSca->setObjectName("LabTmpFineSca");
    HScrollTempoDiv->setObjectName("HScrollTempoDiv");
    LabTempoDivVal->setObjectName("LabTempoDivVal");
    HScrollTempoMem->setObjectName("HScrollTempoMem");
    TimerMisBatteria->setObjectName("TimerMisBatteria");
    LabRot->setObjectName("LabRot");
    LabStato->setObjectName("LabStato");
    LabOnOff->setObjectName("LabOnOff");
    LabNessunDato->setObjectName("LabNessunDato");
    LabNessunDato->setStyleSheet(QStringLiteral("color: #b00000"));
    LabNessunDato->setWordWrap(true);
    LabNessunDato->hide();
    TimerNessunDato->setObjectName("TimerNessunDato");
    TimerNessunDato->setInterval(InputCheckMs);
    connect(TimerNessunDato, &QTimer::timeout, this, &frmMisBatteria::checkInput);
    msClock_ = [started = std::make_shared<QElapsedTimer>()] {
        if (!started->isValid()) started->start();
        return static_cast<int64_t>(started->elapsed());
    };

    QFont big = LabVBatt->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    LabVBatt->setFont(big);
    LabVBatt->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LabTmpFineSca->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LabRot->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    HScrollTempoDiv->setRange(0, LastTimeBase);
    HScrollTempoDiv->setPageStep(1);
    HScrollTempoMem->setRange(0, BatteryRecording::LastIndex);
    HScrollTempoMem->setSingleStep(1);
    HScrollTempoMem->setPageStep(100);

    TimerMisBatteria->setInterval(1);
    TimerMisBatteria->setTimerType(Qt::PreciseTimer);
    repaintTimer_->setSingleShot(true);
    repaintTimer_->setInterval(RepaintIntervalMs);

    connect(ComStart, &QPushButton::clicked, this, &frmMisBatteria::ComStart_Click);
    connect(HScrollTempoDiv, &QScrollBar::valueChanged, this,
            &frmMisBatteria::HScrollTempoDiv_Change);
    connect(HScrollTempoMem, &QScrollBar::valueChanged, this,
            &frmMisBatteria::HScrollTempoMem_Change);
    connect(TimerMisBatteria, &QTimer::timeout, this, &frmMisBatteria::TimerMisBatteria_Timer);
    connect(repaintTimer_, &QTimer::timeout, Picture1, qOverload<>(&QWidget::update));
}

frmMisBatteria::~frmMisBatteria() {
    // A window released without being closed must not stay a target of the decoder.
    if (ctx.targets && ctx.targets->battery == this) ctx.targets->battery = nullptr;
    if (ctx.link) ctx.link->forget(this);
}

void frmMisBatteria::Form_Load() {
    ctx.app.WindowLoading = true;
    placeAtLoad(LoadPlacement::ofSize(DefaultWidth, DefaultHeight)
                    .withMaxima(LoadPlacement::Maxima::WhenUnset));

    setWindowTitle("Misura Dinamica Tensione Batteria");
    layoutControls();
    LabVMax->setText("Max: " + volts(0));
    LabVMin->setText("Min: " + volts(0));
    LabVBatt->setText(volts(0));
    // Minutes, seconds and hundredths of the recording, as the tooltip says.
    for (QLabel* l : {LabTmpIniSca, LabTmpFineSca}) {
        l->setText(QString::fromStdString(formatTime(0, ctx.texts.LangOffset)));
        l->setToolTip(QString::fromStdString(timeFormatText(ctx.texts.LangOffset)));
    }
    setRevolutions("0");
    ctx.timer.clock().resetClock();
    HScrollTempoMem->setMaximum(BatteryRecording::LastIndex);
    HScrollTempoMem->setValue(0);
    ctx.midi.BatteryStampMode = false;
    const int position = clampTimeBase(ctx.app.BatteryTimeDivPos);
    HScrollTempoDiv->setValue(position);
    setTimeBase(position);
    GrigliaDis();
    GrigliaDisScalaOrd();

    if (ctx.targets) ctx.targets->battery = this;
    countIn();
    ctx.app.WindowLoading = false;
}

void frmMisBatteria::layoutControls() {
    const auto place = [this](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(toPixelsX(left), toPixelsY(top), toPixelsX(width), toPixelsY(height));
    };
    place(Picture1, kPictureLeft, kPictureTop, PictureWidth, PictureHeight);
    for (int i = 0; i < static_cast<int>(Ord.size()); ++i)
        place(Ord[static_cast<size_t>(i)], kOrdLeft, kPictureTop + scaleLineY(i) - kLineHeight / 2,
              kOrdWidth, kLineHeight);

    const int below = kPictureTop + PictureHeight + 60;
    place(LabTmpIniSca, kPictureLeft + OriginX, below, 1400, kLineHeight);
    place(LabTmpFineSca, kPictureLeft + OriginX + GridWidth - 1400, below, 1400, kLineHeight);
    place(HScrollTempoMem, kPictureLeft + OriginX, below + 360, GridWidth, kLineHeight);
    place(HScrollTempoDiv, kPictureLeft + OriginX, below + 780, 2800, kLineHeight);
    place(LabTempoDivVal, kPictureLeft + OriginX + 2950, below + 780, 1200, kLineHeight);

    place(ComStart, kSideLeft, kPictureTop, kSideWidth, 495);
    place(LabVBatt, kSideLeft, kPictureTop + 720, kSideWidth, 480);
    place(LabVMax, kSideLeft, kPictureTop + 1380, kSideWidth, kLineHeight);
    place(LabVMin, kSideLeft, kPictureTop + 1680, kSideWidth, kLineHeight);
    place(LabRot, kSideLeft, kPictureTop + 2280, kSideWidth, kLineHeight);
    place(LabStato, kSideLeft, kPictureTop + 2580, kSideWidth / 2, kLineHeight);
    place(LabOnOff, kSideLeft + kSideWidth / 2, kPictureTop + 2580, kSideWidth / 2, kLineHeight);
    place(LabNessunDato, kSideLeft, kPictureTop + 3180, kSideWidth, 3 * kLineHeight);
}

void frmMisBatteria::checkInput() {
    QStringList notices;
    if (const int64_t seconds = silence_.silentSeconds(msClock_()); seconds > 0)
        notices << QString::fromStdString(noDataNotice(seconds, ctx.texts.LangOffset));
    if (const uint32_t lost = ctx.midi.ring.overruns() - overrunsAtStart_; lost > 0)
        notices << QString::fromStdString(lostMessagesNotice(lost, ctx.texts.LangOffset));
    LabNessunDato->setText(notices.join(QLatin1Char('\n')));
    LabNessunDato->setVisible(!notices.isEmpty());
}

QString frmMisBatteria::volts(int raw) const {
    return QString::fromStdString(formatVolts(raw, ctx.texts.LangOffset));
}

void frmMisBatteria::endUnitRecording() {
    if (ctx.link) ctx.link->leaveMode(base::BatteryWindow);
}

// 0xD0: the unit ended the recording by itself (the answer to Stop reaches no one here).
void frmMisBatteria::modeAnswered(int status) {
    if (status != 0xD0 || !rec_.measuring()) return;
    showStarted(false);
    silence_.stop();
    TimerNessunDato->stop();
    TimerMisBatteria->stop();
    rec_.stop();
}

void frmMisBatteria::modeTimedOut() {}

void frmMisBatteria::GrigliaDis() {
    // The trace starts afresh after the last sample recorded so far.
    screen_.first = rec_.lastIndex() + 1;
    scheduleRepaint();
}

void frmMisBatteria::GrigliaDisScalaOrd() {
    for (int i = 0; i < static_cast<int>(Ord.size()); ++i)
        Ord[static_cast<size_t>(i)]->setText(QString::fromStdString(scaleLabel(i)));
}

void frmMisBatteria::scheduleRepaint() {
    if (!repaintTimer_->isActive()) repaintTimer_->start();
}

void frmMisBatteria::showScreenTimes() {
    const int lang = ctx.texts.LangOffset;
    LabTmpIniSca->setText(QString::fromStdString(formatTime(screen_.start, lang)));
    const int64_t end = static_cast<int64_t>(screen_.start) + screenSpan(screen_.msPerDiv);
    LabTmpFineSca->setText(QString::fromStdString(formatTime(static_cast<uint32_t>(end), lang)));
}

void frmMisBatteria::setTimeBase(int position) {
    const TimeBase& base = TimeBases[static_cast<size_t>(clampTimeBase(position))];
    screen_.msPerDiv = base.ms;
    LabTempoDivVal->setText(base.label);
}

void frmMisBatteria::ComStart_Click() {
    if (!started_)
        startRecording();
    else
        stopRecording();
}

// ComStart reads STOP from START pressed until STOP, or until the unit ends the recording.
void frmMisBatteria::showStarted(bool started) {
    started_ = started;
    ComStart->setText(started ? kStopCaption : kStart);
}

void frmMisBatteria::startRecording() {
    if (!ctx.link) return;
    // The unit serves one window at a time: another one's mode or a recording comes first.
    if (const int blocker = ctx.link->modeBlocker(base::BatteryWindow)) {
        ctx.messages.ShowMsg(kMsgInsertOnly, ctx.app.MsgTitle,
                             unitHeldNotice(*ctx.link, blocker, ctx.texts.LangOffset));
        return;
    }
    showStarted(true);
    rec_.start();
    ctx.midi.ShowSentMsg = false;
    if (ctx.midi.BatteryStampMode) TimerMisBatteria->start();
    LabVBatt->setText(volts(0));
    ctx.timer.clock().resetAll();
    // Every recording's time axis starts at 0.
    ctx.midi.BatteryStamp = 0;
    screen_.start = 0;
    screen_.first = 0;
    scheduleRepaint();

    overrunsAtStart_ = ctx.midi.ring.overruns();
    ctx.link->startBatteryRecording(this);
    silence_.start(msClock_());
    LabNessunDato->hide();
    TimerNessunDato->start();
}

void frmMisBatteria::stopRecording() {
    showStarted(false);
    silence_.stop();
    TimerNessunDato->stop();
    // After the recording filled up it has already stopped the input and told the unit.
    if (rec_.measuring()) {
        TimerMisBatteria->stop();
        rec_.stop();
        endUnitRecording();
    }
    const QSignalBlocker block(HScrollTempoMem);
    HScrollTempoMem->setValue(0);
}

void frmMisBatteria::recordingFull() {
    silence_.stop();
    TimerNessunDato->stop();
    if (!ctx.midi.BatteryStampMode)
        ctx.timer.StopTimer1();
    else
        TimerMisBatteria->stop();
    ComStart->setEnabled(true);
    endUnitRecording();
    const QSignalBlocker block(HScrollTempoMem);
    HScrollTempoMem->setMaximum(rec_.lastIndex());
    HScrollTempoMem->setValue(rec_.lastIndex());
    scheduleRepaint();
}

void frmMisBatteria::MisVBatProc(int hundredths) {
    silence_.arrived(msClock_());
    if (LabNessunDato->isVisible() && ctx.midi.ring.overruns() == overrunsAtStart_)
        LabNessunDato->hide();
    uint32_t stamp = ctx.midi.BatteryStamp;
    const BatterySampleStep step = rec_.add(hundredths, stamp);
    ctx.midi.BatteryStamp = stamp;
    if (!step.stored) return;
    if (step.full) {
        recordingFull();
        return;
    }
    const int index = rec_.lastIndex();
    if (step.first) screen_.first = index; // a new grid, the trace starts here
    if (step.newMaximum) LabVMax->setText("Max: " + volts(rec_.maximum()));
    if (step.newMinimum) LabVMin->setText("Min: " + volts(rec_.minimum()));
    {
        const QSignalBlocker block(HScrollTempoMem);
        HScrollTempoMem->setMaximum(index);
        HScrollTempoMem->setValue(index);
    }

    const uint32_t start = screenStartFor(stamp, screen_.start, screen_.msPerDiv);
    if (start != screen_.start) {
        // The trace reached the right edge: a clean grid, the screen moved on, and the
        // segment from the previous sample coming in from the left.
        screen_.start = start;
        screen_.first = index - 1;
        showScreenTimes();
    } else if (step.first) {
        showScreenTimes();
    }
    scheduleRepaint();

    if (step.showValue) LabVBatt->setText(volts(hundredths));
}

void frmMisBatteria::review(int selected) {
    GrigliaDis();
    if (selected >= 0 && selected <= rec_.lastIndex()) {
        screen_.start = rec_.stamp(selected);
        screen_.first = selected;
        LabVBatt->setText(volts(rec_.value(selected)));
    }
    showScreenTimes();
}

void frmMisBatteria::HScrollTempoDiv_Change(int value) {
    if (ctx.app.WindowLoading) return;
    ctx.app.BatteryTimeDivPos = static_cast<uint8_t>(clampTimeBase(value));
    setTimeBase(value);
    review(HScrollTempoMem->value());
}

void frmMisBatteria::HScrollTempoMem_Change(int value) {
    if (ctx.app.WindowLoading || rec_.measuring()) return;
    review(value);
}

void frmMisBatteria::TimerMisBatteria_Timer() {
    uint32_t stamp = ctx.midi.BatteryStamp + 1;
    if (stamp >= StampWrap) stamp = 0;
    ctx.midi.BatteryStamp = stamp;
}

void frmMisBatteria::setRevolutions(const std::string& text) {
    LabRot->setText(QString::fromStdString(revolutionsText(text, ctx.texts.LangOffset)));
}

void frmMisBatteria::setStatus(int bits45, const std::string& onOff) {
    LabStato->setText(QString::number(bits45));
    LabOnOff->setText(QString::fromStdString(onOff));
}

void frmMisBatteria::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        closed_ = true;
        // A recording still running would leave the unit streaming samples to nobody.
        rec_.stop();
        if (ctx.link) ctx.link->windowClosed(base::BatteryWindow);
        TimerMisBatteria->stop();
        repaintTimer_->stop();
        TimerNessunDato->stop();
        ctx.timer.StopTimer1();
        ctx.midi.BatteryStampMode = false;
        storePlacementAtUnload();
        if (ctx.targets && ctx.targets->battery == this) ctx.targets->battery = nullptr;
        countOut();
    }
    event->accept();
}

} // namespace panel
