// The program's entry: reads the start options, runs a file command or takes the start
// folder's lock and runs the workbench until its main window closes.
#include "base/AppState.h"
#include "base/SettingsStore.h"
#include "base/ShowMsg.h"
#include "base/Texts.h"
#include "shell/FileCommands.h"
#include "shell/StartOptions.h"
#include "shell/ui/GuideFinder.h"
#include "shell/ui/PdfCommand.h"
#include "shell/ui/ShutdownSignals.h"
#include "shell/ui/SignalClosing.h"
#include "shell/ui/Workbench.h"
#include "shell/ui/frmMain.h"
#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <cstdio>

using namespace base;

namespace shell {

namespace {
// Held by the session that writes into the start folder.
constexpr const char* kFolderLockName = "ZEPHALON.lock";

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

    // One session writes into a start folder; another one there reads and writes nothing.
    // The lock of a session that ended without unlocking (a crash) is taken over.
    QLockFile folderLock(QDir::current().filePath(kFolderLockName));
    folderLock.setStaleLockTime(0);
    WorkbenchOptions start;
    start.folder = toSystemPath(QDir::toNativeSeparators(QDir::currentPath()));
    start.folderShared = !folderLock.tryLock(0) && folderLock.error() == QLockFile::LockFailedError;
    start.simulated = options.simulated;
    Workbench bench(start);
    frmMain& main = bench.frame();
    // What the toolkit left of the arguments is ours; anything else is said, not fatal.
    const StartOptions ours = parseStartOptions(toStrings(application.arguments().mid(1)));
    if (!ours.unknown.empty()) std::fputs(startOptionsUsage().c_str(), stderr);
    // From here on a signal writes the unsaved documents into recovery files, closes the
    // boxes that are open and closes the main window as File > Exit does, asking nothing.
    SignalClosing signalClosing(bench.app, main.documents(), bench.messages, [&main, &application] {
        main.close();
        // Queued: a signal served before the event loop runs still ends it.
        QMetaObject::invokeMethod(&application, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    shutdownSignals.setClosingRoutine([&signalClosing] { signalClosing.begin(); });
    bench.start(ours.documents);
    const int result = application.exec();
    bench.finish();
    return result;
}

} // namespace shell

int main(int argc, char** argv) {
    return shell::Main(argc, argv);
}
