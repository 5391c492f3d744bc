#include "panel/ui/frmPannelloControllo.h"
#include "base/DocumentKinds.h"
#include "base/FileStore.h"
#include "base/PathNames.h"
#include "base/SystemPath.h"
#include "base/ui/FileDialogs.h"
#include "panel/MonitorFile.h"
#include "protocol/Decoder.h"
#include "protocol/InputNotices.h"
#include "transport/MidiPort.h"
#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

using namespace base;
using namespace transport;
using namespace protocol;

namespace panel {

namespace {
constexpr const char* kCaption = "Pannello di controllo";
constexpr int kMsgInsertOnly = 1;   // the text given
constexpr int kMsgNoAnswer = 8;     // "Nessuna risposta dalla centralina"
constexpr int kSaveAsTitleId = 75;  // "Salva file come"
constexpr int kDiskWriteError = 29; // "Errore di scrittura su disco"

QPushButton* button(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLabel* valueLabel(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

QLabel* captionLabel(QWidget* parent, const char* name, const char* caption) {
    auto* l = new QLabel(QString::fromLatin1(caption), parent);
    l->setObjectName(name);
    return l;
}

QScrollBar* addressScrollBar(QWidget* parent, const char* name) {
    auto* s = new QScrollBar(Qt::Vertical, parent);
    s->setObjectName(name);
    s->setRange(0, MaxAddress);
    s->setSingleStep(1);
    s->setPageStep(16);
    return s;
}

QLineEdit* addressBox(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(3);
    e->setAlignment(Qt::AlignRight);
    return e;
}

} // namespace

frmPannelloControllo::frmPannelloControllo(WindowContext& context, QWidget* parent)
    : ChildWindow(context, base::PanelWindow, parent) {
    setObjectName("frmPannelloControllo");
    buildControls();
    layoutControls();

    connect(ComEEPROM, &QPushButton::clicked, this, &frmPannelloControllo::ComEEPROM_Click);
    connect(ComSelezMDXMSX, &QPushButton::clicked, this,
            &frmPannelloControllo::ComSelezMDXMSX_Click);
    connect(ComDatiProg, &QPushButton::clicked, this, &frmPannelloControllo::ComDatiProg_Click);
    connect(VScrollWr, &QScrollBar::valueChanged, this, &frmPannelloControllo::VScrollWr_Change);
    connect(WrADR, &QLineEdit::textEdited, this, &frmPannelloControllo::WrADR_Edited);
    connect(WrDAT, &QLineEdit::textEdited, this, &frmPannelloControllo::WrDAT_Edited);
    connect(ComScrivi, &QPushButton::clicked, this, &frmPannelloControllo::ComScrivi_Click);
    connect(VScrollRd, &QScrollBar::valueChanged, this, &frmPannelloControllo::VScrollRd_Change);
    connect(RdADR, &QLineEdit::textEdited, this, &frmPannelloControllo::RdADR_Edited);
    connect(CommStop, &QPushButton::clicked, this, &frmPannelloControllo::CommStop_Click);
    connect(ClearText1, &QPushButton::clicked, this, &frmPannelloControllo::ClearText1_Click);
    connect(CommSalvaText1, &QPushButton::clicked, this,
            &frmPannelloControllo::CommSalvaText1_Click);

    RdADR->installEventFilter(this);
    Text1->viewport()->installEventFilter(this);
}

frmPannelloControllo::~frmPannelloControllo() {
    // A window released without its close handler must not stay behind in the routing.
    if (ctx.targets && ctx.targets->panel == this) ctx.targets->panel = nullptr;
    if (ctx.link) ctx.link->forget(this);
}

void frmPannelloControllo::buildControls() {
    ComEEPROM = button(this, "ComEEPROM", state_.accessCaption());
    ComSelezMDXMSX = button(this, "ComSelezMDXMSX", "MDX/MSX");
    ComDatiProg = button(this, "ComDatiProg", state_.memoryCaption());
    WrADR = addressBox(this, "WrADR");
    VScrollWr = addressScrollBar(this, "VScrollWr");
    WrDAT = new QLineEdit(this);
    WrDAT->setObjectName("WrDAT");
    WrDAT->setMaxLength(2);
    WrDAT->setAlignment(Qt::AlignRight);
    ComScrivi = button(this, "ComScrivi", "Scrivi BYTE");
    RdADR = addressBox(this, "RdADR");
    VScrollRd = addressScrollBar(this, "VScrollRd");
    RdDAT = valueLabel(this, "RdDAT");
    Label8 = valueLabel(this, "Label8");
    Label5 = valueLabel(this, "Label5");
    PMIDIOut = valueLabel(this, "PMIDIOut");
    PMIDIIn = valueLabel(this, "PMIDIIn");

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName("Text1");
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setContextMenuPolicy(Qt::PreventContextMenu);
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::TypeWriter);
    mono.setFixedPitch(true);
    // Where no such font is found, the system's fixed font keeps the columns of the log.
    const QFontMetrics metrics(mono);
    if (metrics.horizontalAdvance(QLatin1Char('i')) != metrics.horizontalAdvance(QLatin1Char('W')))
        mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    Text1->setFont(mono);

    Text2 = new QLineEdit(this);
    Text2->setObjectName("Text2");
    Text2->setReadOnly(true);

    CommStop = button(this, "CommStop", state_.monitorCaption());
    ClearText1 = button(this, "ClearText1", "Cancella");
    CommSalvaText1 = button(this, "CommSalvaText1", "Salva");

    TimerMonitor = new QTimer(this);
    TimerMonitor->setObjectName("TimerMonitor");
    TimerMonitor->setSingleShot(true);
    TimerMonitor->setInterval(MonitorIntervalMs);
    connect(TimerMonitor, &QTimer::timeout, this, &frmPannelloControllo::flushMonitor);
}

void frmPannelloControllo::layoutControls() {
    const int valueWidth = fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16;
    for (QLabel* l : {RdDAT, Label8, Label5})
        l->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("MSX")) + 16);
    for (QLabel* l : {PMIDIOut, PMIDIIn})
        l->setMinimumWidth(valueWidth);
    for (QLineEdit* e : {WrADR, RdADR, WrDAT})
        e->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    for (QScrollBar* s : {VScrollWr, VScrollRd})
        s->setFixedHeight(WrADR->sizeHint().height() * 2);

    // One row per direction: address box with its scroll bar, data, module.
    auto addressRow = [this](const char* title, const char* name, QLineEdit* address,
                             QScrollBar* scroll, QWidget* data, QLabel* module,
                             QPushButton* action) {
        auto* box = new QGroupBox(QString::fromLatin1(title), this);
        box->setObjectName(name);
        auto* g = new QGridLayout(box);
        g->addWidget(captionLabel(box, "", "Indirizzo"), 0, 0, 1, 2);
        g->addWidget(captionLabel(box, "", "Dato HEX"), 0, 2);
        g->addWidget(captionLabel(box, "", "Modulo"), 0, 3);
        g->addWidget(address, 1, 0, Qt::AlignVCenter);
        g->addWidget(scroll, 1, 1, Qt::AlignVCenter);
        g->addWidget(data, 1, 2, Qt::AlignVCenter);
        g->addWidget(module, 1, 3, Qt::AlignVCenter);
        if (action) g->addWidget(action, 1, 4, Qt::AlignVCenter);
        g->setColumnStretch(5, 1);
        return box;
    };
    auto framed = [this](const char* title, const char* name, QLabel* value) {
        auto* box = new QGroupBox(QString::fromLatin1(title), this);
        box->setObjectName(name);
        auto* l = new QHBoxLayout(box);
        l->addWidget(value);
        return box;
    };

    auto* left = new QVBoxLayout;
    left->addWidget(ComEEPROM);
    auto* toggles = new QHBoxLayout;
    toggles->addWidget(ComSelezMDXMSX);
    toggles->addWidget(ComDatiProg);
    left->addLayout(toggles);
    left->addWidget(
        addressRow("Scrittura", "FrameScrittura", WrADR, VScrollWr, WrDAT, Label8, ComScrivi));
    left->addWidget(
        addressRow("Lettura", "FrameLettura", RdADR, VScrollRd, RdDAT, Label5, nullptr));
    auto* traffic = new QHBoxLayout;
    traffic->addWidget(framed("MIDI trasmesso", "FrameMIDIOut", PMIDIOut));
    traffic->addWidget(framed("MIDI ricevuto", "FrameMIDIIn", PMIDIIn));
    left->addLayout(traffic);
    left->addStretch(1);

    auto* right = new QVBoxLayout;
    right->addWidget(captionLabel(this, "LabelText1", "Dati ricevuti"));
    right->addWidget(Text1, 1);
    right->addWidget(Text2);
    auto* monitorButtons = new QHBoxLayout;
    monitorButtons->addWidget(CommStop);
    monitorButtons->addWidget(ClearText1);
    monitorButtons->addWidget(CommSalvaText1);
    right->addLayout(monitorButtons);

    auto* top = new QHBoxLayout(this);
    top->addLayout(left, 0);
    top->addLayout(right, 1);
}

void frmPannelloControllo::Form_Load() {
    AppState& app = ctx.app;
    app.WindowLoading = true;

    placeAtLoad(DefaultWidth, DefaultHeight);

    Text1->clear();
    Text2->clear();
    monitorText_.clear();
    setWindowTitle(QString::fromLatin1(kCaption));

    state_ = PanelState{};
    VScrollWr->setValue(0);
    VScrollRd->setValue(0);
    wrAddrText_ = rdAddrText_ = wrDataText_ = QStringLiteral("0");
    WrADR->setText(wrAddrText_);
    RdADR->setText(rdAddrText_);
    WrDAT->setText(wrDataText_);
    RdDAT->setText(QStringLiteral("0"));

    overrunsAtStart_ = ctx.midi.ring.overruns();
    render();
    if (ctx.targets) ctx.targets->panel = this;
    if (ctx.frame) ctx.frame->setMenuEntryEnabled("mnuSalvaAs", true);
    countIn();
    app.WindowLoading = false;
}

// The panel as its state has it: captions, module names and which controls take input.
void frmPannelloControllo::render() {
    ComEEPROM->setText(state_.accessCaption());
    ComDatiProg->setText(state_.memoryCaption());
    CommStop->setText(state_.monitorCaption());
    Label5->setText(state_.moduleName());
    Label8->setText(state_.moduleName());
    const PanelEnables e = state_.enables();
    ComSelezMDXMSX->setEnabled(e.ComSelezMDXMSX);
    ComDatiProg->setEnabled(e.ComDatiProg);
    ComScrivi->setEnabled(e.ComScrivi);
    WrADR->setEnabled(e.WrADR);
    WrDAT->setEnabled(e.WrDAT);
    VScrollWr->setEnabled(e.VScrollWr);
    RdADR->setEnabled(e.RdADR);
    RdDAT->setEnabled(e.RdDAT);
    VScrollRd->setEnabled(e.VScrollRd);
    CommStop->setEnabled(e.CommStop);
    CommSalvaText1->setEnabled(e.CommSalvaText1);
    ClearText1->setEnabled(e.ClearText1);
}

// ---- EEPROM access --------------------------------------------------------------------

void frmPannelloControllo::ComEEPROM_Click() {
    if (!state_.access)
        enterEepromAccess();
    else
        leaveEepromAccess();
}

void frmPannelloControllo::enterEepromAccess() {
    MidiPort& midi = ctx.midi;
    if (!ctx.link) return;
    // The unit serves one window at a time: another one's mode or a recording comes first.
    if (const int blocker = ctx.link->modeBlocker(base::PanelWindow)) {
        ctx.messages.ShowMsg(kMsgInsertOnly, ctx.app.MsgTitle,
                             unitHeldNotice(*ctx.link, blocker, ctx.texts.LangOffset));
        return;
    }
    state_.enterAccess();
    render();
    overrunsAtStart_ = midi.ring.overruns();
    linesNotShown_ = 0;
    Text2->clear();
    midi.ShowSentMsg = true;
    ctx.link->enterMode(base::PanelWindow, UnitMode::EepromAccess, this);
    // The monitor runs as the input does (unless the access already ended).
    if (state_.access) state_.monitorRunning = midi.MIDIInStarted;
    render();
}

// The panel's side of the dialogue ends: its buttons as before EEPROM DATI/PROG.
void frmPannelloControllo::showAccessEnded() {
    state_.accessEnded();
    render();
}

void frmPannelloControllo::leaveEepromAccess() {
    showAccessEnded();
    // The unit's answer still reaches the monitor; then the panel lets the input go.
    if (ctx.link) ctx.link->leaveMode(base::PanelWindow);
}

void frmPannelloControllo::modeAnswered(int status) {
    // 0xD0: the unit refused the access or left it; it is in run mode.
    if (status == 0xD0) showAccessEnded();
}

void frmPannelloControllo::modeTimedOut() {
    showAccessEnded();
    ctx.messages.ShowMsg(kMsgNoAnswer, ctx.app.MsgTitle, "");
}

void frmPannelloControllo::ComSelezMDXMSX_Click() {
    state_.PanelMDX = !state_.PanelMDX;
    render();
}

void frmPannelloControllo::ComDatiProg_Click() {
    state_.PanelDataMem = !state_.PanelDataMem;
    render();
}

// ---- addresses and data ---------------------------------------------------------------

int frmPannelloControllo::takeAddressText(QLineEdit* box, QString& lastText, const QString& typed) {
    const AddressEntry entry = addressFromText(toLatin1(typed));
    if (!entry.accepted) {
        const int cursor = box->cursorPosition();
        box->setText(lastText);
        box->setCursorPosition(std::max(0, cursor - 1));
        return -1;
    }
    lastText = QString::fromStdString(entry.text);
    if (lastText != typed) box->setText(lastText);
    return entry.value;
}

void frmPannelloControllo::showAddress(QLineEdit* box, QString& lastText, int value) {
    if (addressFromText(toLatin1(box->text())).value == value) return;
    lastText = QString::number(value);
    box->setText(lastText);
}

void frmPannelloControllo::VScrollWr_Change(int value) {
    if (ctx.app.WindowLoading) return;
    if (!typingWrAddr_) state_.wrAddrTyped = false;
    state_.PanelWrAddr = value;
    showAddress(WrADR, wrAddrText_, value);
    render();
}

void frmPannelloControllo::WrADR_Edited(const QString& text) {
    const int value = takeAddressText(WrADR, wrAddrText_, text);
    if (value < 0) return;
    typingWrAddr_ = true;
    state_.wrAddrTyped = true;
    state_.PanelWrAddr = value;
    VScrollWr->setValue(value);
    typingWrAddr_ = false;
    render();
}

void frmPannelloControllo::WrDAT_Edited(const QString& text) {
    const DataEntry entry = dataFromHexText(toLatin1(text));
    if (!entry.accepted) {
        const int cursor = WrDAT->cursorPosition();
        WrDAT->setText(wrDataText_);
        WrDAT->setCursorPosition(std::max(0, cursor - 1));
        return;
    }
    wrDataText_ = text;
    state_.PanelWrData = entry.value;
}

void frmPannelloControllo::ComScrivi_Click() {
    const PanelEnables e = state_.enables();
    if (!e.ComScrivi) return;
    ctx.midi.MIDIOutMsg = state_.writeMessage();
    ctx.midi.SendShortMsg();
}

void frmPannelloControllo::VScrollRd_Change(int value) {
    if (ctx.app.WindowLoading) return;
    state_.PanelRdAddr = value;
    showAddress(RdADR, rdAddrText_, value);
    sendReadRequest();
}

void frmPannelloControllo::RdADR_Edited(const QString& text) {
    const int value = takeAddressText(RdADR, rdAddrText_, text);
    if (value >= 0) VScrollRd->setValue(value);
}

void frmPannelloControllo::sendReadRequest() {
    ctx.midi.ShowSentMsg = true;
    ctx.midi.MIDIOutMsg = state_.readMessage();
    ctx.midi.SendShortMsg();
}

// ---- monitor --------------------------------------------------------------------------

// The monitor shows or stops showing the unit's messages; the input itself stays with the
// EEPROM access.
void frmPannelloControllo::CommStop_Click() {
    state_.toggleMonitor();
    if (state_.monitorRunning && ctx.decoder) ctx.decoder->RxLineNo = 1;
    render();
}

void frmPannelloControllo::ClearText1_Click() {
    Text1->clear();
    pendingLines_.clear();
    monitorText_.clear();
    restartView_ = false;
    linesNotShown_ = 0;
    if (ctx.decoder) ctx.decoder->RxLineNo = 1;
}

void frmPannelloControllo::enableClearText1() {
    state_.clearOffered = true;
    render();
}

void frmPannelloControllo::setPMIDIIn(const std::string& hex) {
    pendingPMIDIIn_ = fromLatin1(hex);
    scheduleMonitor();
}

void frmPannelloControllo::setRdDAT(const std::string& hex) {
    pendingRdDAT_ = fromLatin1(hex);
    scheduleMonitor();
}

void frmPannelloControllo::showSentMessage(const std::string& hex) {
    PMIDIOut->setText(fromLatin1(hex));
}

void frmPannelloControllo::appendLog(const std::string& line) {
    // Entries still in the ring when the monitor was stopped are not shown.
    if (state_.monitorStopped) return;
    monitorText_ += line;
    std::string shown = line;
    while (!shown.empty() && (shown.back() == '\n' || shown.back() == '\r'))
        shown.pop_back();
    pendingLines_.append(fromLatin1(shown));
    if (pendingLines_.size() > MonitorBatchLines) {
        pendingLines_.removeFirst();
        ++linesNotShown_;
    }
    scheduleMonitor();
}

// After line 4999 the log starts again at 1. The text on screen stays until the next showing
// replaces it with the lines since, so under a flood (thousands of lines between two showings)
// the monitor still shows the latest traffic instead of a text emptied again and again.
void frmPannelloControllo::clearLog() {
    monitorText_.clear();
    linesNotShown_ += static_cast<uint64_t>(pendingLines_.size());
    pendingLines_.clear();
    restartView_ = true;
    scheduleMonitor();
}

// One text append and one label change per turn, however many messages came: under a flood
// the window stays responsive.
void frmPannelloControllo::scheduleMonitor() {
    if (!TimerMonitor->isActive()) TimerMonitor->start();
}

void frmPannelloControllo::flushMonitor() {
    TimerMonitor->stop();
    if (restartView_) {
        // Until a line follows the restart the last ones stay in view.
        if (!pendingLines_.isEmpty()) Text1->setPlainText(pendingLines_.join(QLatin1Char('\n')));
        restartView_ = pendingLines_.isEmpty();
    } else if (!pendingLines_.isEmpty()) {
        Text1->appendPlainText(pendingLines_.join(QLatin1Char('\n')));
    }
    pendingLines_.clear();
    if (!pendingPMIDIIn_.isEmpty()) PMIDIIn->setText(std::exchange(pendingPMIDIIn_, QString()));
    if (!pendingRdDAT_.isEmpty()) RdDAT->setText(std::exchange(pendingRdDAT_, QString()));
    QStringList notices;
    if (const uint32_t lost = ctx.midi.ring.overruns() - overrunsAtStart_; lost > 0)
        notices << QString::fromStdString(lostMessagesNotice(lost, ctx.texts.LangOffset));
    if (linesNotShown_ > 0)
        notices << QString::fromStdString(
            linesNotShownNotice(linesNotShown_, ctx.texts.LangOffset));
    if (!notices.isEmpty()) Text2->setText(notices.join(QStringLiteral(" - ")));
}

// ---- saving the monitor ---------------------------------------------------------------

bool frmPannelloControllo::saveMonitorText(const std::string& path) {
    if (path.empty()) return false;
    if (!writeFileAtomically(path, documentBytes()).empty()) return false;
    ctx.app.LastDocFolder = folderOf(path);
    return true;
}

std::string frmPannelloControllo::documentBytes() {
    return monitorFileImage(monitorText_);
}

void frmPannelloControllo::CommSalvaText1_Click() {
    const QString start = fromSystemPath(ctx.app.LastDocFolder);
    const DocumentKindRow& text = documentKind(DocKind::MonitorText);
    const QString chosen =
        chooseFile(ctx, FileDialogRequest::toSave(ctx.text(kSaveAsTitleId), start,
                                                  dialogFilter(text.saveFilter),
                                                  dialogFilter(text.extension)));
    if (chosen.isEmpty()) return;
    if (!saveMonitorText(toSystemPath(chosen)))
        ctx.messages.ShowMsg(kDiskWriteError, kAppTitle, "");
}

// ---- events ---------------------------------------------------------------------------

bool frmPannelloControllo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == RdADR && event->type() == QEvent::MouseButtonDblClick) {
        if (RdADR->isEnabled()) sendReadRequest();
        return true;
    }
    if (watched == Text1->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::RightButton && ctx.frame) {
            ctx.frame->popupEditMenu(me->globalPosition().toPoint());
            return true;
        }
    }
    return ChildWindow::eventFilter(watched, event);
}

void frmPannelloControllo::Form_Unload() {
    TimerMonitor->stop();
    MidiPort& midi = ctx.midi;
    // A unit left in EEPROM access streams nothing: a measurement started afterwards would
    // wait in vain.
    state_.access = false;
    if (ctx.link) ctx.link->windowClosed(base::PanelWindow);
    // Nobody shows the sent messages any more.
    midi.ShowSentMsg = false;
    if (ctx.frame) ctx.frame->setMenuEntryEnabled("mnuSalvaAs", false);
    storePlacementAtUnload();
    if (ctx.targets && ctx.targets->panel == this) ctx.targets->panel = nullptr;
    countOut();
}

void frmPannelloControllo::closeEvent(QCloseEvent* event) {
    if (!unloaded_) {
        unloaded_ = true;
        Form_Unload();
    }
    event->accept();
}

} // namespace panel
