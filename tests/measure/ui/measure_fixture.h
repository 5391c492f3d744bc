#pragma once
#include "base/FileStore.h"
#include "measure/MrotFile.h"
#include "measure/ui/frmMisAnt.h"
#include "measure/ui/frmMisRot.h"
#include "measure/ui/frmMisRotNote.h"
#include "protocol/Decoder.h"
#include "protocol/UnitLink.h"
#include "shell/ui/DocumentDispatch.h"
#include "support/ui/WorkbenchFixture.h"
#include "transport/MidiPort.h"
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <ostream>

inline std::ostream& operator<<(std::ostream& os, const QString& s) {
    return os << s.toStdString();
}

// The main window over the simulated unit, windows opened through its menus. Nothing runs
// by itself: run() lets unit time pass and drains the input as the main window's poller
// does.
class MeasureWindowTest : public WorkbenchFixture {
protected:
    MeasureWindowTest() {
        // A test that forgets to answer a file dialog fails instead of waiting for a user.
        main->documents().setChooser([](const FileDialogRequest&) {
            ADD_FAILURE() << "unexpected file dialog";
            return QString();
        });
        // The program's window is the active one, as after start-up on a desktop.
        main->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(main));
    }
    // Answers every file dialog with path.
    void answerDialogs(const std::string& path) {
        main->documents().setChooser(
            [path](const FileDialogRequest&) { return QString::fromStdString(path); });
    }

    // Unit time passes in steps of at most 2 s (no more than the input ring holds at 10,000
    // rpm), the main window's poller draining after each: long runs stay quick.
    void run(uint64_t ms) {
        for (uint64_t step = 0; ms > 0; ms -= step) {
            step = std::min<uint64_t>(ms, 2000);
            pump(step * 1000);
        }
    }
    void click(QWidget* w, const char* name) {
        QTest::mouseClick(get<QPushButton>(w, name), Qt::LeftButton);
    }
    // Start, ms of unit time, Stop.
    void record(QWidget* w, uint64_t ms) {
        click(w, "ComStop");
        run(ms);
        click(w, "ComStop");
    }
    QString text(QWidget* w, const char* name) { return get<QLabel>(w, name)->text(); }
    QString caption(QWidget* w, const char* name) { return get<QPushButton>(w, name)->text(); }
    // The lines a list shows, top to bottom.
    static QStringList rows(QWidget* w, const char* list) {
        QStringList out;
        const QAbstractItemModel* m = get<QAbstractItemView>(w, list)->model();
        for (int i = 0; i < m->rowCount(); ++i)
            out << m->index(i, 0).data().toString();
        return out;
    }
};
