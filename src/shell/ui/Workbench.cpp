#include "shell/ui/Workbench.h"
#include "base/SerialPortList.h"
#include "base/SettingsStore.h"
#include "base/ui/QtNotifier.h"
#include "shell/RecoveryFiles.h"
#include "shell/StartOptions.h"
#include "shell/ui/WindowRegistry.h"
#include "shell/ui/frmMain.h"
#include "timing/backends/ThreadTimerSource.h"
#include "transport/backends/CompositeMidiSystem.h"
#include "transport/backends/RtMidiSystem.h"
#include "transport/backends/SerialMidiSystem.h"
#include "unit/EepromCodec.h"
#include "unit/backends/SimulatedUnitSystem.h"
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QScreen>
#include <cstdio>

using namespace base;
using namespace timing;
using namespace transport;
using namespace unit;

namespace shell {

namespace {
// "Un'altra sessione del programma è aperta nella cartella _: ..."
constexpr int kSharedFolderId = 166;
// "Il file _ è troncato: porte MIDI seriali non lette: "
constexpr int kSettingsCutId = 167;
// "Unità simulata", "Simulated unit"
constexpr int kSimulatedUnitName = 160;
} // namespace

// The simulated unit is always device 0; serial ports added later get the next numbers.
struct Workbench::RealDevices {
    RealDevices(const AppState& app, const Texts& texts) : simulated(app.AppFolder) {
        if (app.FolderShared) simulated.keepEepromInMemory();
        simulated.setDeviceName(texts.text(kSimulatedUnitName));
        for (size_t i = 0; i < app.SerialPorts.size(); ++i)
            serial.addPort(app.SerialPorts[i], i < app.SerialPortBauds.size()
                                                   ? app.SerialPortBauds[i]
                                                   : kSerialDefaultBaud);
        all.addBackend(&simulated);
        all.addBackend(&rtmidi);
        all.addBackend(&serial);
    }

    SimulatedUnitSystem simulated;
    RtMidiSystem rtmidi;
    SerialMidiSystem serial;
    CompositeMidiSystem all;
};

Workbench::Workbench(const WorkbenchOptions& options)
    : notifier_(options.notifier ? *options.notifier : *(boxes_ = std::make_unique<QtNotifier>())),
      settingsRead_(readSettings(options)), simulatedUnit_(options.simulatedUnit),
      timer(clock, options.timerSource ? *options.timerSource
                                       : *(timerThread_ = std::make_unique<ThreadTimerSource>())),
      midi(devices(options), messages, clock) {
    ctx.measurement = &measurement;
    midi.MIDIOutDevice = app.MIDIOutDevice;
    midi.MIDIInDevice = app.MIDIInDevice;
    const bool haveOutput = midi.enumerateAndOpen();
    if (!haveOutput) messages.ShowMsg(22, kAppTitle, "");

    frame_ = std::make_unique<frmMain>(ctx, decoder, options.pollClock);
    targets.main = frame_.get();
    if (boxes_) boxes_->setParent(frame_.get());
    registerWindows(*frame_, boxes_.get(), simulatedUnit());
    if (SerialMidiSystem* serial = real_ ? &real_->serial : options.serialPorts)
        frame_->setSerialPorts(serial);
    frame_->MDIForm_Load();
    if (!haveOutput) frame_->disableOutputMenus();
    if (!options.frameSize.isEmpty()) frame_->resize(options.frameSize);
    frame_->show();
}

Workbench::~Workbench() {
    if (real_) real_->simulated.setSaveFailureReport(nullptr);
    // Windows still open close (asking nothing of a recorder that answers No) while
    // everything they use exists.
    frame_->mdiArea()->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    targets.main = nullptr;
    frame_.reset();
}

bool Workbench::readSettings(const WorkbenchOptions& options) {
    app.InStartup = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        app.TwipsPerPixelX = 1440.0 / screen->logicalDotsPerInchX();
        app.TwipsPerPixelY = 1440.0 / screen->logicalDotsPerInchY();
    }
    app.setAppFolder(options.folder, QDir::separator().toLatin1());
    app.FolderShared = options.folderShared;
    bool read = false;
    if (options.loadSettings) read = app.FolderShared ? ReadSettings(app) : LoadSettings(app);
    StartOptions chosen;
    chosen.simulated = options.simulated;
    applyStartOptions(chosen, app);
    if (options.langCode != 0) app.LangCode = static_cast<uint8_t>(options.langCode);
    if (app.LangCode != 1 && app.LangCode != 2) app.LangCode = 1;
    // The stored language chooses the half of the string table.
    texts.LangOffset = (app.LangCode - 1) * 200;
    app.MsgTitle = texts.text(113);
    // Said once; the file is left as it is and not written at exit.
    if (app.SettingsUnreadable)
        messages.ShowMsg(1, app.MsgTitle,
                         fileErrorText(texts, 104, app.SettingsPath, app.SettingsReadError));
    return read;
}

MidiSystem& Workbench::devices(const WorkbenchOptions& options) {
    if (options.devices) return *options.devices;
    real_ = std::make_unique<RealDevices>(app, texts);
    return real_->all;
}

SimulatedUnitSystem* Workbench::simulatedUnit() const {
    return real_ ? &real_->simulated : simulatedUnit_;
}

void Workbench::start(const std::vector<std::string>& documents) {
    if (app.FolderShared) {
        // Said on the terminal too: whoever started this session from there sees why.
        const std::string shared = withInsert(texts.text(kSharedFolderId), app.AppFolder);
        std::fprintf(stderr, "%s: %s\n", kProductName, shared.c_str());
        messages.ShowMsg(1, app.MsgTitle, shared);
    } else if (const std::vector<std::string> recovered = takeRecoveryList(app);
               !recovered.empty()) {
        // Documents a signal ended the last run with: said once.
        messages.ShowMsg(1, app.MsgTitle, recoveryReport(texts, app, recovered));
    }
    if (app.SerialPortsCutOff > 0)
        messages.ShowMsg(1, app.MsgTitle,
                         withInsert(texts.text(kSettingsCutId), app.SettingsPath) +
                             std::to_string(app.SerialPortsCutOff));
    SimulatedUnitSystem* unit = real_ ? &real_->simulated : nullptr;
    // The unit's memory file is left as it is and the unit runs on factory contents.
    if (unit && unit->eepromRefused())
        messages.ShowMsg(1, app.MsgTitle,
                         eepromRefusedNotice(unit->eepromPath(),
                                             unit->eepromRefusal(texts.LangOffset),
                                             texts.LangOffset));
    // Documents named on the command line (a file manager opening a .crva) open through
    // the File menu's dispatch.
    QStringList paths;
    for (const std::string& path : documents)
        paths << QString::fromStdString(path);
    frame_->documents().openPaths(paths);
    app.InStartup = false;
    if (!unit) return;
    // A failed save of the simulated unit's EEPROM is said once; the change is kept.
    unit->setSaveFailureReport([this](const std::string&) {
        QMetaObject::invokeMethod(
            frame_.get(), [this] { messages.ShowMsg(1, app.MsgTitle, eepromFailure()); },
            Qt::QueuedConnection);
    });
}

void Workbench::finish() {
    if (!real_) return;
    real_->simulated.setSaveFailureReport(nullptr);
    // The last try for the simulated unit's EEPROM; what cannot be kept is not lost unsaid.
    real_->simulated.stop();
    if (real_->simulated.savePending()) messages.ShowMsg(1, app.MsgTitle, eepromFailure());
}

std::string Workbench::eepromFailure() const {
    return texts.text(40) + ": " + real_->simulated.eepromPath();
}

} // namespace shell
