// Takes the user guide's pictures: the program itself, offscreen, against the simulated unit.
//   zephalon_screenshots [--lang it|en] [--list] [--menus] <folder> [window...]
// writes <folder>/<window>.png for every window of the guide's list (or the ones named).
// --list prints the pictures this build can take, --menus the window each menu entry opens,
// so scripts/package-check.sh can tell a window the guide does not picture.
#include "ShotBench.h"
#include "Shots.h"
#include "base/ui/ChildWindow.h"
#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStringList>
#include <cstdio>

using namespace base;

namespace {
int usage() {
    std::fputs(
        "Usage: zephalon_screenshots [--lang it|en] [--list] [--menus] <folder> [window...]\n",
        stderr);
    return 2;
}

// The clocks (status bar, Timer Exact) show one fixed moment, so a picture changes only when the
// window does.
void stopTheClock(QWidget* frame) {
    if (auto* date = frame->findChild<QLabel*>("LabelData"))
        date->setText(" " + QLocale().toString(QDate(2026, 3, 14), QLocale::LongFormat) + " ");
    if (auto* time = frame->findChild<QLabel*>("LabelTime")) time->setText(" 10:30:00 ");
    if (auto* timer = frame->findChild<QWidget*>("frmTimerExact"))
        if (auto* time = timer->findChild<QLabel*>("Label1")) time->setText("10:30:00");
}

// A window of the workbench by its objectName, in its sub-window (with the title bar).
QWidget* windowNamed(ShotBench& bench, const QString& name) {
    for (QMdiSubWindow* sub : bench.main->mdiArea()->subWindowList())
        if (sub->widget() && sub->widget()->objectName() == name) return sub;
    return nullptr;
}

bool available(ShotBench& bench, const Shot& shot) {
    if (!shot.entry()) return true;
    const QAction* entry = bench.main->action(shot.entry());
    return entry && entry->isEnabled();
}

// Takes one picture; a window that does not exist yet is left out (and said).
bool take(const Shot& shot, int langCode, const QDir& folder) {
    ShotBench bench(langCode);
    if (!available(bench, shot)) {
        std::fprintf(stderr, "%s: no window behind %s yet, not taken\n", shot.name, shot.entry());
        return true;
    }
    QWidget* picture = bench.main;
    ChildWindow* window = nullptr;
    if (shot.entry()) {
        window = bench.open(shot.entry());
        if (!window) {
            std::fprintf(stderr, "%s: no window opens from %s\n", shot.name, shot.entry());
            return false;
        }
    }
    if (shot.stage) shot.stage(bench, window);
    QApplication::processEvents();
    if (window) {
        picture = windowNamed(bench, shot.window ? shot.window : window->objectName());
        if (!picture) {
            std::fprintf(stderr, "%s: window %s is not open\n", shot.name, shot.window);
            return false;
        }
    }
    stopTheClock(bench.main);
    const QString file = folder.filePath(QString(shot.name) + ".png");
    if (!picture->grab().save(file)) {
        std::fprintf(stderr, "%s: cannot write %s\n", shot.name, qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

// The window behind every menu entry that opens one, by objectName (an entry with no window
// behind it yet is left out).
int printMenuWindows(int langCode) {
    ShotBench bench(langCode);
    // A window that opens with unsaved work (a new coil program) is closed without saving.
    bench.bench.notifier.nextAnswer = Notifier::Answer::No;
    for (const char* entry : {"mnuPannelloControllo", "mnuProgCurva", "mnuProgTempoBobina",
                              "mnuTimerExact", "mnuMisBatteria", "mnuMisRot", "mnuMisAnt",
                              "mnuUnitaSimulata", "mnuBloccoNote", "mnuInfo"}) {
        const QAction* action = bench.main->action(entry);
        if (!action || !action->isEnabled()) continue;
        ChildWindow* window = bench.open(entry);
        if (!window) {
            std::fprintf(stderr, "%s opens no window\n", entry);
            return 1;
        }
        std::printf("%s\n", qPrintable(window->objectName()));
        bench.main->mdiArea()->closeAllSubWindows();
    }
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QStringList args = application.arguments().mid(1);
    int langCode = 2;
    bool list = false;
    bool menus = false;
    while (!args.isEmpty() && args.front().startsWith("--")) {
        const QString option = args.takeFirst();
        if (option == "--list") {
            list = true;
        } else if (option == "--menus") {
            menus = true;
        } else if (option == "--lang" && !args.isEmpty()) {
            const QString lang = args.takeFirst();
            if (lang != "it" && lang != "en") return usage();
            langCode = lang == "en" ? 2 : 1;
        } else {
            return usage();
        }
    }
    if (menus) return printMenuWindows(langCode);
    if (list) {
        // The pictures this build can take.
        ShotBench bench(langCode);
        for (const Shot& shot : guideShots())
            if (available(bench, shot)) std::printf("%s\n", shot.name);
        return 0;
    }
    if (args.isEmpty()) return usage();
    const QDir folder(args.takeFirst());
    if (!folder.mkpath(".")) return usage();
    // Dates and numbers as a user of that language sees them.
    QLocale::setDefault(QLocale(langCode == 2 ? QLocale::English : QLocale::Italian,
                                langCode == 2 ? QLocale::UnitedKingdom : QLocale::Italy));

    bool ok = true;
    for (const Shot& shot : guideShots())
        if (args.isEmpty() || args.contains(shot.name)) ok = take(shot, langCode, folder) && ok;
    return ok ? 0 : 1;
}
