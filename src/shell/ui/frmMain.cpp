#include "shell/ui/frmMain.h"
#include "base/MenuCaptions.h"
#include "base/RecentDocuments.h"
#include "base/ScreenPlacement.h"
#include "base/SerialPortList.h"
#include "base/SettingsStore.h"
#include "base/ui/AppIcon.h"
#include "base/ui/ChildWindow.h"
#include "base/ui/Sheet.h"
#include "base/ui/ShortcutTrigger.h"
#include "curve/ui/frmProgCurva.h"
#include "protocol/UnitLink.h"
#include "shell/GuideLocation.h"
#include "shell/ui/FrameStatusBar.h"
#include "shell/ui/GuideFinder.h"
#include "shell/ui/HelpWindow.h"
#include "shell/ui/MenuBuilder.h"
#include "shell/ui/TextCommands.h"
#include "shell/ui/ToolkitLanguage.h"
#include "timing/modTimerExact.h"
#include "transport/MidiPort.h"
#include "transport/backends/SerialMidiSystem.h"
#include "transport/ui/RingPollTimer.h"
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QInputDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <cmath>

using namespace base;
using namespace transport;
using namespace curve;

namespace shell {

frmMain::frmMain(WindowContext& ctx, MessageDecoder& decoder, PollClock* pollClock)
    : QMainWindow(nullptr), ctx_(ctx), decoder_(decoder), placement_(*this, ctx.app),
      documents_(
          ctx, [this](ChildWindow* child) { showChild(child); },
          [this] { refreshRecentDocuments(); }) {
    setObjectName("frmMain");
    setWindowIcon(appIcon());
    mdi_ = new QMdiArea(this);
    mdi_->setObjectName("MDIClient");
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &frmMain::activateChild);

    TimerMIDIIn = new RingPollTimer(ctx_.midi, &decoder_, this, pollClock);
    TimerMIDIIn->setLink(ctx_.link);

    buildMenus();
    buildStatusBar();
    ctx_.frame = this;
    ctx_.documents = &documents_;
    dialogs_.setOwner(this);
    ctx_.dialogs = &dialogs_;
    ctx_.midi.setEvents(this);
}

frmMain::~frmMain() {
    // The area and its sub-windows are destroyed after this object has stopped being a
    // frmMain: their last activation signals must not reach it.
    disconnect(mdi_, nullptr, this, nullptr);
    disconnect(qApp, nullptr, this, nullptr);
    if (serial_) serial_->setLossHandler(nullptr);
    ctx_.midi.setEvents(nullptr);
    if (ctx_.frame == this) ctx_.frame = nullptr;
    if (ctx_.documents == &documents_) ctx_.documents = nullptr;
    if (ctx_.dialogs == &dialogs_) ctx_.dialogs = nullptr;
}

// A design text with path in place of its "_".
static std::string composeInsert(const QString& text, const QString& insert) {
    QString out = text;
    const qsizetype at = out.indexOf('_');
    if (at >= 0) out.replace(at, 1, insert);
    return out.toStdString();
}

QString frmMain::caption(const char* entry) const {
    return QString::fromStdString(designCaption(entry, ctx_.texts.LangOffset));
}

QAction* frmMain::action(const QString& objectName) const {
    const auto it = actions_.find(objectName);
    return it == actions_.end() ? nullptr : it->second;
}

// The menus as the menu table lists them; here only what each command does.
void frmMain::buildMenus() {
    actions_ = buildMenuBar(menuBar(), ctx_.texts);
    mnuModifica_ = action("mnuModifica")->menu();
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"mnuChiudi",
         [this] {
             if (QMdiSubWindow* w = mdi_->activeSubWindow()) w->close();
         }},
        {"mnuSalva", [this] { documents_.SaveDocument(activeChild()); }},
        {"mnuSalvaAs", [this] { documents_.SaveDocumentAs(activeChild()); }},
        {"mnuStampa", [this] { printActiveSheet(); }},
        {"mnuEsportaPdf", [this] { exportActiveSheetPdf(); }},
        {"mnuExit", [this] { close(); }},
        // Undo and redo: the text being typed in, else the active document's history.
        {"mnuAnnulla", [this] { stepHistory(true); }},
        {"mnuRipeti", [this] { stepHistory(false); }},
        {"mnuIngrandisci", [this] { enlargeActiveChild(); }},
        {"mnuTaglia", [] { applyTextCommand(TextCommand::Cut); }},
        {"mnuCopia", [] { applyTextCommand(TextCommand::Copy); }},
        {"mnuIncolla", [] { applyTextCommand(TextCommand::Paste); }},
        {"mnuMIDIThru",
         [this] {
             ctx_.midi.toggleThru();
             renderDeviceMenus();
         }},
        {"mnuPortaSeriale", [this] { askSerialPort(); }},
        {"mnuVisBarraStato",
         [this] {
             ctx_.app.StatusBarOn = action("mnuVisBarraStato")->isChecked();
             statusBar()->setVisible(ctx_.app.StatusBarOn);
         }},
        {"mnuLinguaIt", [this] { chooseLanguage(1); }},
        {"mnuLinguaEn", [this] { chooseLanguage(2); }},
        {"mnuSovrapponi",
         [this] {
             ctx_.app.Arranging = true;
             mdi_->cascadeSubWindows();
             ctx_.app.Arranging = false;
         }},
        // The desktop's convention: tiling horizontally stacks the windows (horizontal
        // bands), tiling vertically sets them side by side (vertical bands).
        {"mnuAffiancaOrizz", [this] { tile(Qt::Vertical); }},
        {"mnuAffiancaVert", [this] { tile(Qt::Horizontal); }},
        {"mnuFinestraSucc", [this] { mdi_->activateNextSubWindow(); }},
    };
    for (const auto& [entry, command] : commands)
        connect(action(entry), &QAction::triggered, this, command);
    // Entries that open a window: a document kind's open dialog, else the window itself.
    for (const base::Entry& e : base::entries()) {
        if (e.instances == base::Instances::None || e.item == base::Item::Window) continue;
        const std::string entry(e.name);
        connect(action(QString::fromStdString(entry)), &QAction::triggered, this, [this, entry] {
            if (documents_.kindOfEntry(entry))
                documents_.OpenDocument(entry);
            else
                openChild(QString::fromStdString(entry));
        });
    }
    for (int i = 0; i < MidiPort::MaxDevices; ++i) {
        devOut_.push_back(action(QString("mnuDevMIDIOut_%1").arg(i)));
        connect(devOut_.back(), &QAction::triggered, this, [this, i] {
            ctx_.midi.chooseOutputDevice(i);
            renderDeviceMenus();
        });
        devIn_.push_back(action(QString("mnuDevMIDIIn_%1").arg(i)));
        connect(devIn_.back(), &QAction::triggered, this, [this, i] {
            ctx_.midi.chooseInputDevice(i);
            renderDeviceMenus();
        });
    }
    for (int i = 1; i <= 9; ++i) {
        recent_.push_back(action(QString("mnuRecentFile_%1").arg(i)));
        connect(recent_.back(), &QAction::triggered, this, [this, i] { documents_.openRecent(i); });
    }
    // F1 opens the guide at the chapter of the window in use, the menu at its top.
    QAction* guide = action("mnuGuida");
    auto* byF1 = new ShortcutTrigger(guide);
    connect(guide, &QAction::triggered, this, [this, byF1] { openGuide(byF1->take()); });
    connect(mnuModifica_, &QMenu::aboutToShow, this, &frmMain::updateHistoryEntries);
    connect(qApp, &QApplication::focusChanged, this, &frmMain::updateHistoryEntries);
}

void frmMain::askSerialPort() {
    bool ok = false;
    const QString path = QInputDialog::getText(this, kAppTitle, caption("serialPrompt"),
                                               QLineEdit::Normal, "/dev/ttyUSB0", &ok);
    if (!ok || path.trimmed().isEmpty()) return;
    const QStringList speeds{QString::number(kSerialDefaultBaud), QString::number(kSerialMidiBaud)};
    const QString speed =
        QInputDialog::getItem(this, kAppTitle, caption("serialSpeed"), speeds, 0, false, &ok);
    if (ok) addSerialPort(path.trimmed(), speed.toInt());
}

void frmMain::stepHistory(bool undo) {
    const bool typed = stepText(undo);
    ChildWindow* child = activeChild();
    if (!typed && child) {
        if (undo && child->canUndo())
            child->undo();
        else if (!undo && child->canRedo())
            child->redo();
    }
    updateHistoryEntries();
}

void frmMain::updateHistoryEntries() {
    const ChildWindow* child = activeChild();
    action("mnuAnnulla")->setEnabled(hasTextStep(true) || (child && child->canUndo()));
    action("mnuRipeti")->setEnabled(hasTextStep(false) || (child && child->canRedo()));
}

// Qt::Horizontal: side by side in one row, each the full height; Qt::Vertical: stacked in
// one column, each the full width.
void frmMain::tile(Qt::Orientation orientation) {
    const auto list = mdi_->subWindowList();
    if (list.isEmpty()) return;
    const QSize area = mdi_->viewport()->size();
    const int n = static_cast<int>(list.size());
    int at = 0;
    for (QMdiSubWindow* w : list) {
        w->showNormal();
        if (orientation == Qt::Horizontal) {
            w->setGeometry(at, 0, area.width() / n, area.height());
            at += area.width() / n;
        } else {
            w->setGeometry(0, at, area.width(), area.height() / n);
            at += area.height() / n;
        }
    }
}

void frmMain::buildStatusBar() {
    status_ = new FrameStatusBar(this);
    statusBar()->setObjectName("StatusBar");
    statusBar()->setSizeGripEnabled(true);
    statusBar()->addWidget(status_, 1);
}

void frmMain::MDIForm_Load() {
    AppState& app = ctx_.app;
    // The open states written at exit do not reopen windows; slot 1 keeps its window state
    // for the placement below.
    const uint8_t mainState = app.WinRec[base::MainWindow].State;
    for (int i = 1; i <= base::WindowCount; ++i)
        app.WinRec[i].State = 0;
    app.ChildCount = 0;
    ctx_.midi.StopMIDIPoll = true;
    ctx_.midi.MIDIInDecode = false;
    // The toolkit's own buttons, dialogs and dates follow the chosen language.
    language_ = std::make_unique<ToolkitLanguage>(app.LangCode);

    setWindowTitle(QString("%1 - %2").arg(kAppTitle, kProductName));
    status_->start();

    // Entries whose window is not registered cannot open anything yet.
    applyMenuRules(base::Moment::Load);
    for (const base::Entry& e : base::entries())
        if (e.shown == base::Shown::WhenRegistered)
            action(QString::fromLatin1(e.name))->setVisible(registered(e.name));

    refreshRecentDocuments();
    buildDeviceMenus();

    action("mnuVisBarraStato")->setChecked(app.StatusBarOn);
    statusBar()->setVisible(app.StatusBarOn);
    action(app.LangCode == 2 ? "mnuLinguaEn" : "mnuLinguaIt")->setChecked(true);

    app.WinRec[base::MainWindow].State = mainState;
    placement_.restore();
    app.WinRec[base::MainWindow].State = 0;

    TimerMIDIIn->stop();
    ctx_.midi.ring.discard();
    loaded_ = true;
}

void frmMain::disableOutputMenus() {
    setMenuEntryEnabled("mnuMIDIOut", false);
    setMenuEntryEnabled("mnuMIDIThru", false);
}

void frmMain::buildDeviceMenus() {
    MidiPort& m = ctx_.midi;
    for (int i = 0; i < MidiPort::MaxDevices; ++i) {
        const bool outOk = i < m.MIDIOutCount && m.MIDIDevOK[i][2] == 1;
        devOut_[i]->setText(QString::fromStdString(m.MIDIOutCaps[i].name));
        devOut_[i]->setVisible(outOk);
        const bool inOk = i < m.MIDIInCount && m.MIDIDevOK[i][1] == 1;
        devIn_[i]->setText(QString::fromStdString(m.MIDIInCaps[i].name));
        devIn_[i]->setVisible(inOk);
    }
    renderDeviceMenus();
}

void frmMain::setSerialPorts(SerialMidiSystem* serial) {
    if (serial_) serial_->setLossHandler(nullptr);
    serial_ = serial;
    action("mnuPortaSeriale")->setVisible(serial != nullptr);
    // The loss is noticed on a device thread; the frame handles it on its own.
    if (serial_)
        serial_->setLossHandler([this](const std::string& path) {
            QMetaObject::invokeMethod(
                this, [this, path] { serialPortLost(fromSystemPath(path)); }, Qt::QueuedConnection);
        });
}

void frmMain::serialPortLost(const QString& path) {
    MidiPort& m = ctx_.midi;
    const std::string name = serialDeviceName(toSystemPath(path));
    const auto listedAs = [&](const std::array<MidiCaps, 8>& caps, int device) {
        return device >= 0 && device < MidiPort::MaxDevices &&
               caps[static_cast<size_t>(device)].name == name;
    };
    const bool output = m.MIDIOutOpen && listedAs(m.MIDIOutCaps, m.MIDIOutDevice);
    const bool input = m.MIDIInOpen && listedAs(m.MIDIInCaps, m.MIDIInDevice);
    if (!output && !input) return; // closed already: told when it happened
    m.deviceLost(output, input);
    renderDeviceMenus();
    ctx_.messages.ShowMsg(1, kAppTitle, composeInsert(caption("serialLost"), path));
}

void frmMain::addSerialPort(const QString& path, int baud) {
    if (!serial_) return;
    const std::string native = toSystemPath(path);
    const char* refusal = nullptr;
    switch (serial_->addPort(native, baud)) {
    case transport::MidiOk:
        break;
    case transport::MidiAllocated:
        refusal = "serialListed";
        break;
    case transport::MidiBadDeviceId:
        refusal = "serialBadPath";
        break;
    default:
        refusal = "serialFull";
        break;
    }
    if (refusal) {
        ctx_.messages.ShowMsg(1, kAppTitle, composeInsert(caption(refusal), path));
        return;
    }
    ctx_.app.SerialPorts = serial_->ports();
    ctx_.app.SerialPortBauds = serial_->bauds();
    const bool hadOutput = !ctx_.midi.NoMIDIOut;
    if (ctx_.midi.refreshDeviceLists() && !hadOutput) {
        setMenuEntryEnabled("mnuMIDIOut", true);
        setMenuEntryEnabled("mnuMIDIThru", true);
    }
    buildDeviceMenus();
    const auto listed = [&](const std::array<MidiCaps, 8>& caps, int count) {
        for (int i = 0; i < count; ++i)
            if (caps[static_cast<size_t>(i)].name == serialDeviceName(native)) return true;
        return false;
    };
    if (!listed(ctx_.midi.MIDIOutCaps, ctx_.midi.MIDIOutCount))
        ctx_.messages.ShowMsg(1, kAppTitle, composeInsert(caption("serialTooMany"), path));
}

void frmMain::renderDeviceMenus() {
    const DeviceMenuState& s = ctx_.midi.menuState;
    for (int i = 0; i < MidiPort::MaxDevices; ++i) {
        devOut_[i]->setChecked(i == s.checkedOut);
        devIn_[i]->setChecked(i == s.checkedIn);
    }
    QAction* thru = action("mnuMIDIThru");
    if (ctx_.midi.NoMIDIOut)
        thru->setEnabled(false);
    else
        thru->setEnabled(s.thruEnabled);
    thru->setChecked(s.thruChecked);
}

void frmMain::refreshRecentDocuments() {
    const std::vector<std::string> captions = recentMenuCaptions(ctx_.app);
    for (int i = 0; i < recent_.size(); ++i) {
        const bool shown = i < static_cast<int>(captions.size());
        recent_[i]->setVisible(shown);
        if (shown) recent_[i]->setText(fromSystemPath(captions[static_cast<size_t>(i)]));
    }
    action("mnuSep15")->setVisible(!captions.empty());
}

void frmMain::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (loaded_) placement_.remember();
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (loaded_) placement_.remember();
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (loaded_ &&
        (event->type() == QEvent::LanguageChange || event->type() == QEvent::WindowStateChange))
        placement_.remember();
}

void frmMain::registerChild(const QString& entry, ChildFactory factory) {
    factories_[entry] = std::move(factory);
    if (loaded_) setMenuEntryEnabled(entry, true);
}

ChildWindow* frmMain::activeChild() const {
    QMdiSubWindow* sub = mdi_->activeSubWindow();
    return sub ? qobject_cast<ChildWindow*>(sub->widget()) : nullptr;
}

std::vector<OpenCurveDocument> frmMain::openCurveDocuments() const {
    std::vector<OpenCurveDocument> open;
    for (QMdiSubWindow* sub : mdi_->subWindowList())
        if (auto* editor = qobject_cast<frmProgCurva*>(sub->widget()))
            open.push_back(
                {editor->windowTitle(), editor->documentPath(), &editor->document(), editor});
    return open;
}

ChildWindow* frmMain::openChild(const QString& entry) {
    const auto f = factories_.find(entry);
    const base::Entry* e = base::find(entry.toStdString());
    if (f == factories_.end() || !e) return nullptr;
    // Single-instance windows come forward instead of opening twice.
    std::vector<QMdiSubWindow*> subs;
    std::vector<std::string> entries;
    std::vector<base::OpenWindow> open;
    for (QMdiSubWindow* sub : mdi_->subWindowList())
        if (auto* child = qobject_cast<ChildWindow*>(sub->widget()); child && sub->isVisible()) {
            subs.push_back(sub);
            entries.push_back(child->property("menuEntry").toString().toStdString());
        }
    for (std::size_t i = 0; i < subs.size(); ++i)
        open.push_back({qobject_cast<ChildWindow*>(subs[i]->widget())->windowNumber(), entries[i]});
    const base::Opening plan = base::planOpening(*e, ctx_.app.WinRec, open);
    if (plan.what == base::Opening::What::Refused) return nullptr;
    if (plan.what == base::Opening::What::BringForward) {
        mdi_->setActiveSubWindow(subs[plan.at]);
        return qobject_cast<ChildWindow*>(subs[plan.at]->widget());
    }
    ctx_.app.CurrentWinNo = plan.number;
    ChildWindow* child = f->second(ctx_, plan.number);
    if (!child) return nullptr;
    child->setProperty("menuEntry", entry);
    showChild(child);
    return child;
}

void frmMain::showChild(ChildWindow* child) {
    QMdiSubWindow* sub = mdi_->addSubWindow(child);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    connect(child, &ChildWindow::historyChanged, this, &frmMain::updateHistoryEntries);
    child->Form_Load();
    sub->show();
    child->holdMinimumSize();
    mdi_->setActiveSubWindow(sub);
    child->focusFirstInput();
    applyMenuRules(base::Moment::Opened);
}

bool frmMain::registered(std::string_view entry) const {
    const std::string e(entry);
    return factories_.count(QString::fromStdString(e)) > 0 || documents_.kindOfEntry(e);
}

// The menu table decides what the moment enables: the active window tells what it supports.
void frmMain::applyMenuRules(base::Moment moment) {
    base::Situation s;
    s.childCount = ctx_.app.ChildCount;
    ChildWindow* child = activeChild();
    s.activeSaves = documents_.canSave(child);
    s.activeSavesAs = documents_.canSaveAs(child);
    s.activeSheet = dynamic_cast<SheetWindow*>(child) != nullptr;
    s.records = &ctx_.app.WinRec;
    s.registered = [this](std::string_view entry) { return registered(entry); };
    for (const auto& [entry, enabled] : base::enables(moment, s))
        setMenuEntryEnabled(QString::fromLatin1(entry), enabled);
}

void frmMain::ChildActivated() {
    if (!ctx_.app.Closing) applyMenuRules(base::Moment::Activated);
}

void frmMain::ChildUnloaded() {
    // A curve or coil editor slot may have come free.
    applyMenuRules(base::Moment::Unloaded);
    // The window that takes the focus next enables what it supports. (The about box runs
    // this routine when it is activated; that must not schedule itself again.)
    if (ctx_.app.ChildCount > 0 && !ctx_.app.Closing && !reactivating_)
        QTimer::singleShot(0, this, [this] {
            reactivating_ = true;
            activateChild(mdi_->activeSubWindow());
            reactivating_ = false;
        });
}

void frmMain::activateChild(QMdiSubWindow* sub) {
    updateHistoryEntries();
    if (!sub) return;
    if (auto* child = qobject_cast<ChildWindow*>(sub->widget()))
        child->Form_Activate();
    else
        ChildActivated();
}

void frmMain::setMenuEntryEnabled(const QString& objectName, bool enabled) {
    if (QAction* a = action(objectName)) a->setEnabled(enabled);
}

void frmMain::showStatusMessage(const QString& text) {
    status_->showMessage(text);
}

void frmMain::popupEditMenu(const QPoint& globalPos) {
    mnuModifica_->popup(globalPos);
}

void frmMain::enlargeActiveChild() {
    ChildWindow* child = activeChild();
    if (!child) return;
    const int n = child->windowNumber();
    ctx_.app.CurrentWinNo = n;
    const bool sized = (n >= base::FirstCurveWindow && n <= base::LastCoilWindow) ||
                       n == base::PanelWindow || n == base::AdvanceWindow ||
                       n == base::RotationWindow || n == base::BatteryWindow ||
                       n == base::NotebookWindow;
    const WindowRecord& rec = ctx_.app.WinRec[n];
    if (!sized || rec.MaxWidth <= 0) return;
    QMdiSubWindow* sub = child->subWindow();
    const int w = twipsToPixels(rec.MaxWidth, ctx_.app.TwipsPerPixelX);
    int h = sub->height();
    if (n != base::RotationWindow && rec.MaxHeight > 0)
        h = twipsToPixels(rec.MaxHeight, ctx_.app.TwipsPerPixelY);
    sub->showNormal();
    sub->resize(w, h);
}

void frmMain::chooseLanguage(int langCode) {
    if (ctx_.app.LangCode == langCode) return;
    ctx_.app.LangCode = static_cast<uint8_t>(langCode);
    ctx_.messages.ShowMsg(24, ctx_.app.MsgTitle, "");
}

void frmMain::openGuide(bool atWindowInUse) {
    // The chapter of the active child window, or of the frame when there is none.
    const QWidget* inUse = activeChild();
    const QString chapter = atWindowInUse ? QString::fromStdString(guideChapter(
                                                (inUse ? inUse : this)->objectName().toStdString()))
                                          : QString();
    // The guide of the current language: in the start folder, beside the program, in the
    // build folder's copy or in the installed data folder.
    const QString file =
        findUserGuide(ctx_.app, programFolder_.isEmpty() ? QCoreApplication::applicationDirPath()
                                                         : programFolder_);
    if (file.isEmpty()) {
        ctx_.messages.ShowMsg(27, ctx_.app.MsgTitle, "");
    } else if (guideOpener_) {
        guideOpener_(file, chapter);
    } else {
        if (!help_) help_ = new HelpWindow(ctx_.texts, this);
        help_->showGuide(file, chapter);
    }
}

void frmMain::setGuideOpener(GuideOpener opener, const QString& programFolder) {
    guideOpener_ = std::move(opener);
    programFolder_ = programFolder;
}

void frmMain::outputActivity() {
    status_->outputActivity();
}

void frmMain::inputActivity() {
    status_->inputActivity();
}

void frmMain::showSentMessage(const std::string& hex) {
    for (QMdiSubWindow* sub : mdi_->subWindowList())
        if (auto* child = qobject_cast<ChildWindow*>(sub->widget())) child->showSentMessage(hex);
}

void frmMain::inputPollerDisabled() {
    TimerMIDIIn->stop();
}

void frmMain::enableInputPoller() {
    if (!TimerMIDIIn->isActive()) TimerMIDIIn->start();
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (closed_) {
        event->accept();
        return;
    }
    AppState& app = ctx_.app;
    app.Closing = true;
    // The children unload first; one that refuses (unsaved changes kept) cancels the exit.
    mdi_->closeAllSubWindows();
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        if (sub->isVisible()) {
            app.Closing = false;
            event->ignore();
            return;
        }
    }
    // The unit is left in run mode, streaming for whoever comes next.
    if (ctx_.link) ctx_.link->shutdown();
    ctx_.midi.MIDIInDecode = false;
    app.MsgTitle = ctx_.texts.text(114);
    TimerMIDIIn->stop();
    ctx_.timer.StopTimer1();
    ctx_.midi.shutdown();
    placement_.store();
    app.MIDIInDevice = ctx_.midi.MIDIInDevice;
    app.MIDIOutDevice = ctx_.midi.MIDIOutDevice;
    app.MIDIThruOn = ctx_.midi.MIDIThruOn;
    const std::string error = SaveSettings(app);
    if (!error.empty())
        ctx_.messages.ShowMsg(1, app.MsgTitle,
                              fileErrorText(ctx_.texts, 109, app.SettingsPath, error));
    closed_ = true;
    event->accept();
}

SheetWindow* frmMain::activeSheet() const {
    return dynamic_cast<SheetWindow*>(activeChild());
}

void frmMain::printActiveSheet() {
    SheetWindow* sheet = activeSheet();
    if (!sheet) return;
    const int lang = ctx_.texts.LangOffset;
    printSheet(
        this, sheet->sheetTitle(lang), [sheet](SheetPainter& s) { sheet->paintSheet(s); }, lang);
}

void frmMain::exportActiveSheetPdf() {
    SheetWindow* sheet = activeSheet();
    if (!sheet) return;
    const std::string path = documents_.chooseExportPath(
        sheet->sheetPath(), QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"));
    if (path.empty()) return;
    const int lang = ctx_.texts.LangOffset;
    const std::string failure = writeSheetPdf(
        path, sheet->sheetTitle(lang), [sheet](SheetPainter& s) { sheet->paintSheet(s); }, lang);
    if (!failure.empty()) documents_.reportWriteError(path, failure);
}

} // namespace shell
