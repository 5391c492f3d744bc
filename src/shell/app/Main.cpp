// The program's entry: fixes the start folder, reads the settings, enumerates and opens the
// MIDI devices, and shows the main window.
#include "base/AppState.h"
#include "base/SerialPortList.h"
#include "base/SettingsStore.h"
#include "base/ShowMsg.h"
#include "base/Texts.h"
#include "base/ui/QtNotifier.h"
#include "protocol/Decoder.h"
#include "protocol/UnitLink.h"
#include "shell/FileCommands.h"
#include "shell/RecoveryFiles.h"
#include "shell/StartOptions.h"
#include "shell/ui/GuideFinder.h"
#include "shell/ui/PdfCommand.h"
#include "shell/ui/ShutdownSignals.h"
#include "shell/ui/SignalClosing.h"
#include "shell/ui/WindowRegistry.h"
#include "shell/ui/frmMain.h"
#include "timing/PrecisionClock.h"
#include "timing/backends/ThreadTimerSource.h"
#include "timing/modTimerExact.h"
#include "transport/MidiPort.h"
#include "transport/backends/CompositeMidiSystem.h"
#include "transport/backends/RtMidiSystem.h"
#include "transport/backends/SerialMidiSystem.h"
#include "unit/EepromCodec.h"
#include "unit/backends/SimulatedUnitSystem.h"
#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QScreen>
#include <cstdio>

namespace {
// Held by the session that writes into the start folder.
constexpr const char* kFolderLockName = "ZEPHALON.lock";
// "Un'altra sessione del programma è aperta nella cartella _: ..."
constexpr int kSharedFolderId = 166;
// "Il file _ è troncato: porte MIDI seriali non lette: "
constexpr int kSettingsCutId = 167;

std::vector<std::string> toStrings(const QStringList& list) {
    std::vector<std::string> out;
    for (const QString& s : list)
        out.push_back(s.toStdString());
    return out;
}

// The settings of the current folder, only looked at: no settings file is created or
// rewritten (a run that prints or converts and ends).
void readSettingsOnly(AppState& app) {
    app.setAppFolder(toSystemPath(QDir::toNativeSeparators(QDir::currentPath())),
                     QDir::separator().toLatin1());
    ReadSettings(app);
    if (app.LangCode != 1 && app.LangCode != 2) app.LangCode = 1;
}

// --guide: the guide Help would open for the settings of the current folder, without a
// display.
int printGuidePath(int argc, char** argv) {
    QCoreApplication core(argc, argv);
    AppState app;
    readSettingsOnly(app);
    const Texts texts{(app.LangCode - 1) * 200};
    const QString guide = findUserGuide(app, QCoreApplication::applicationDirPath());
    std::puts(guide.isEmpty() ? composeMessage(texts, 27, "").c_str()
                              : guide.toLocal8Bit().constData());
    return guide.isEmpty() ? 1 : 0;
}

// --export-csv, --print-table, --to-pdf: the file is worked on and the program ends.
int runFileCommand(const StartOptions& options, int argc, char** argv) {
    AppState app;
    readSettingsOnly(app);
    const int langOffset = (app.LangCode - 1) * 200;
    CommandResult result;
    switch (options.command.kind) {
    case FileCommand::Kind::ExportCsv:
        result = runExportCsv(options.command, langOffset);
        break;
    case FileCommand::Kind::PrintTable:
        result = runPrintTable(options.command, langOffset);
        break;
    case FileCommand::Kind::ToPdf:
        result = runToPdf(options.command, langOffset, argc, argv);
        break;
    case FileCommand::Kind::None:
        result = missingFile(options.missingFile, langOffset);
        break;
    }
    std::fputs(result.out.c_str(), stdout);
    if (!result.error.empty()) std::fprintf(stderr, "zephalon: %s\n", result.error.c_str());
    if (result.status == kExitUsage) std::fputs(startOptionsUsage().c_str(), stderr);
    return result.status;
}
} // namespace

int Main(int argc, char** argv) {
    const StartOptions options = parseStartOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
        std::fputs(startOptionsUsage().c_str(), stdout);
        return 0;
    }
    if (options.guidePath) return printGuidePath(argc, argv);
    if (options.command.kind != FileCommand::Kind::None || !options.missingFile.empty())
        return runFileCommand(options, argc, argv);
    QApplication application(argc, argv);
    application.setApplicationName(kProductName);
    // Termination signals (SIGTERM, SIGHUP, SIGINT): see SignalClosing below.
    ShutdownSignals shutdownSignals;

    AppState app;
    Texts texts;
    QtNotifier notifier;
    MessageService messages(texts, notifier);

    app.InStartup = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        app.TwipsPerPixelX = 1440.0 / screen->logicalDotsPerInchX();
        app.TwipsPerPixelY = 1440.0 / screen->logicalDotsPerInchY();
    }
    app.setAppFolder(toSystemPath(QDir::toNativeSeparators(QDir::currentPath())),
                     QDir::separator().toLatin1());
    // One session writes into a start folder; another one there reads and writes nothing.
    // The lock of a session that ended without unlocking (a crash) is taken over.
    QLockFile folderLock(QDir::current().filePath(kFolderLockName));
    folderLock.setStaleLockTime(0);
    app.FolderShared = !folderLock.tryLock(0) && folderLock.error() == QLockFile::LockFailedError;
    if (app.FolderShared)
        ReadSettings(app);
    else
        LoadSettings(app);
    applyStartOptions(options, app);
    if (app.LangCode != 1 && app.LangCode != 2) app.LangCode = 1;
    // The stored language chooses the half of the string table.
    texts.LangOffset = (app.LangCode - 1) * 200;
    app.MsgTitle = texts.text(113);
    // Said once; the file is left as it is and not written at exit.
    if (app.SettingsUnreadable)
        messages.ShowMsg(1, app.MsgTitle,
                         fileErrorText(texts, 104, app.SettingsPath, app.SettingsReadError));

    SimulatedUnitSystem simulated(app.AppFolder);
    if (app.FolderShared) simulated.keepEepromInMemory();
    constexpr int kSimulatedUnitName = 160; // "Unità simulata", "Simulated unit"
    simulated.setDeviceName(texts.text(kSimulatedUnitName));
    RtMidiSystem rtmidi;
    SerialMidiSystem serial;
    for (size_t i = 0; i < app.SerialPorts.size(); ++i)
        serial.addPort(app.SerialPorts[i], i < app.SerialPortBauds.size() ? app.SerialPortBauds[i]
                                                                          : kSerialDefaultBaud);
    // The simulated unit is always device 0; serial ports added later get the next numbers.
    CompositeMidiSystem devices({&simulated, &rtmidi, &serial});
    PrecisionClock clock;
    ThreadTimerSource timerSource;
    modTimerExact timer(clock, timerSource);
    MidiPort midi(devices, messages, clock);
    midi.MIDIOutDevice = app.MIDIOutDevice;
    midi.MIDIInDevice = app.MIDIInDevice;

    const bool haveOutput = midi.enumerateAndOpen();
    if (!haveOutput) messages.ShowMsg(22, kAppTitle, "");

    DecoderTargets targets;
    Decoder decoder(midi, app, notifier, targets);
    UnitLink link(midi, decoder, targets);
    WindowContext ctx{app, texts, messages, midi, timer, nullptr, &decoder, &targets};
    ctx.link = &link;
    frmMain main(ctx, decoder);
    targets.main = &main;
    notifier.setParent(&main);
    registerWindows(main, &notifier, &simulated);
    // What the toolkit left of the arguments is ours; anything else is said, not fatal.
    const StartOptions ours = parseStartOptions(toStrings(application.arguments().mid(1)));
    if (!ours.unknown.empty()) std::fputs(startOptionsUsage().c_str(), stderr);
    main.setSerialPorts(&serial);
    main.MDIForm_Load();
    if (!haveOutput) main.disableOutputMenus();
    main.show();
    // From here on a signal writes the unsaved documents into recovery files, closes the
    // boxes that are open and closes the main window as File > Exit does, asking nothing.
    SignalClosing signalClosing(app, main.documents(), messages, [&main, &application] {
        main.close();
        // Queued: a signal served before the event loop runs still ends it.
        QMetaObject::invokeMethod(&application, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    shutdownSignals.setClosingRoutine([&signalClosing] { signalClosing.begin(); });
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
    // The unit's memory file is left as it is and the unit runs on factory contents.
    if (simulated.eepromRefused())
        messages.ShowMsg(1, app.MsgTitle,
                         eepromRefusedNotice(simulated.eepromPath(),
                                             simulated.eepromRefusal(texts.LangOffset),
                                             texts.LangOffset));
    // Documents named on the command line (a file manager opening a .crva) open through
    // the File menu's dispatch.
    QStringList documents;
    for (const std::string& path : ours.documents)
        documents << QString::fromStdString(path);
    main.documents().openPaths(documents);
    app.InStartup = false;
    // A failed save of the simulated unit's EEPROM is said once; the change is kept.
    const std::string eepromFailure = texts.text(40) + ": " + simulated.eepromPath();
    simulated.setSaveFailureReport([&main, &messages, &app, eepromFailure](const std::string&) {
        QMetaObject::invokeMethod(
            &main,
            [&messages, &app, eepromFailure] { messages.ShowMsg(1, app.MsgTitle, eepromFailure); },
            Qt::QueuedConnection);
    });
    const int result = application.exec();
    simulated.setSaveFailureReport(nullptr);
    // The last try for the simulated unit's EEPROM; what cannot be kept is not lost unsaid.
    simulated.stop();
    if (simulated.savePending()) messages.ShowMsg(1, app.MsgTitle, eepromFailure);
    return result;
}

int main(int argc, char** argv) {
    return Main(argc, argv);
}
