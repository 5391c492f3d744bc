#include "base/FileStore.h"
#include "base/Settings.h"
#include "base/SettingsStore.h"
#include "panel/ui/frmPannelloControllo.h"
#include "shell/ui/frmMain.h"
#include "support/FakeMidiSystem.h"
#include "support/ui/UnitTimeWorkbench.h"
#include "timing/ui/frmTimerExact.h"
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace panel;

namespace {
// The program started in a fresh folder over a scriptable MIDI system, boxes recorded.
struct MainWindowTest : ::testing::Test {
    QTemporaryDir folder;
    FakeMidiSystem devices;
    RecordingNotifier notifier;
    FakeTimerSource timerSource;
    std::unique_ptr<Workbench> bench;
    frmMain* main = nullptr;

    // One output, chosen: the start has nothing to say about the devices.
    MainWindowTest() {
        devices.outNames = {"Out"};
        store([](AppState& stored) { stored.MIDIOutDevice = 0; });
    }
    ~MainWindowTest() override {
        notifier.nextAnswer = Notifier::Answer::No; // nothing kept as the test tears down
    }
    // The settings file of the start folder: the defaults as change leaves them.
    void store(const std::function<void(AppState&)>& change) {
        AppState stored;
        stored.setAppFolder(toSystemPath(folder.path()));
        LoadSettings(stored);
        change(stored);
        ASSERT_EQ(SaveSettings(stored), "");
    }
    // The program starts with the settings of the start folder.
    void start() {
        WorkbenchOptions options = testOptions(folder, devices, notifier, timerSource);
        options.loadSettings = true;
        options.simulated = false;
        bench = std::make_unique<Workbench>(options);
        main = &bench->frame();
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    }
    AppState& app() { return bench->app; }
    MidiPort& midi() { return bench->midi; }
    std::string folderPath(const std::string& name) const {
        return toSystemPath(folder.path()) + kPathSeparator + name;
    }
    QMdiSubWindow* sub(const char* windowName) {
        for (QMdiSubWindow* w : main->mdiArea()->subWindowList())
            if (w->widget()->objectName() == windowName) return w;
        return nullptr;
    }
    bool enabled(const char* name) { return main->action(name)->isEnabled(); }
};

TEST_F(MainWindowTest, DocumentAndEditMenusFollowTheActiveChild) {
    start();
    EXPECT_FALSE(enabled("mnuChiudi"));
    main->action("mnuBloccoNote")->trigger();
    EXPECT_EQ(app().ChildCount, 1);
    EXPECT_TRUE(enabled("mnuChiudi"));
    EXPECT_FALSE(enabled("mnuSalva")); // the notebook has no document to save
    // Typing goes into the new notebook; the Edit menu works on it at once.
    QTest::keyClicks(static_cast<QWidget*>(nullptr), "Ciao");
    auto* text = main->findChild<QPlainTextEdit*>("Text1");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->toPlainText(), "Ciao");
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_A, Qt::ControlModifier);
    main->action("mnuCopia")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "Ciao");
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_End);
    main->action("mnuIncolla")->trigger();
    EXPECT_EQ(text->toPlainText(), "CiaoCiao");
    // The frame and its children carry the program icon: the spark's yellow at the centre
    // of the dark tile.
    const QImage icon = main->windowIcon().pixmap(16, 16).toImage();
    ASSERT_FALSE(icon.isNull());
    EXPECT_GT(icon.pixelColor(8, 8).red(), 200);
    EXPECT_LT(icon.pixelColor(8, 8).blue(), 120);
    EXPECT_EQ(sub("frmBloccoNote")->windowIcon().pixmap(16, 16).toImage(), icon);

    // While the about box is active Close is not offered; the box names the status bar's
    // release.
    main->action("mnuInfo")->trigger();
    EXPECT_FALSE(enabled("mnuChiudi"));
    const QString release = sub("frmAbout")->widget()->findChild<QLabel*>("lblTitolo")->text();
    EXPECT_TRUE(main->findChild<QLabel*>("LabelNomeAppl")->text().contains(release));
    EXPECT_TRUE(release.endsWith("v 2.3"));
    // The about box closed, the notebook comes forward and offers Close again.
    sub("frmAbout")->close();
    QApplication::processEvents();
    EXPECT_TRUE(enabled("mnuChiudi"));
    EXPECT_TRUE(enabled("mnuModifica"));
    main->action("mnuChiudi")->trigger();
    EXPECT_EQ(app().ChildCount, 0);
    EXPECT_FALSE(enabled("mnuModifica"));

    // A right click in the timer window pops up the same Edit menu.
    main->action("mnuTimerExact")->trigger();
    auto* timer = main->findChild<frmTimerExact*>();
    ASSERT_NE(timer, nullptr);
    auto* menu = main->findChild<QMenu*>("mnuModifica");
    for (const char* box : {"Label1", "Label2"}) {
        QTest::mouseClick(timer->findChild<QLabel*>(box), Qt::RightButton);
        EXPECT_TRUE(menu->isVisible()) << box;
        menu->hide();
    }
}

TEST_F(MainWindowTest, SaveAsFollowsTheActiveWindowAndSavesTheMonitor) {
    start();
    main->action("mnuPannelloControllo")->trigger();
    auto* panel = main->findChild<frmPannelloControllo*>();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(enabled("mnuSalvaAs"));
    EXPECT_FALSE(enabled("mnuSalva"));

    main->action("mnuBloccoNote")->trigger();
    EXPECT_FALSE(enabled("mnuSalvaAs")); // the notebook saves by itself
    main->mdiArea()->setActiveSubWindow(panel->subWindow());
    EXPECT_TRUE(enabled("mnuSalvaAs"));

    // The File menu's Save As of the panel adds ".txt" and writes the monitor.
    const QString path = QString::fromStdString(folderPath("monitor"));
    main->documents().setChooser([&](const FileDialogRequest&) { return path; });
    main->action("mnuSalvaAs")->trigger();
    EXPECT_EQ(readWholeFile(folderPath("monitor.txt")), panel->monitorText());
    EXPECT_EQ(app().LastDocFolder, folder.path().toStdString());
    EXPECT_EQ(app().RecentDoc[1].Path, ""); // no reader can open it again
}

TEST_F(MainWindowTest, DeviceMenusListSevenAndFollowChoices) {
    devices.outNames.clear();
    for (int i = 0; i < 9; ++i) {
        devices.outNames.push_back("Out " + std::to_string(i));
        devices.inNames.push_back("In " + std::to_string(i));
    }
    store([](AppState& stored) {
        stored.MIDIInDevice = 3;
        stored.MIDIOutDevice = 1;
    });
    start();
    ASSERT_TRUE(midi().MIDIOutOpen);
    EXPECT_TRUE(main->action("mnuDevMIDIOut_6")->isVisible());
    EXPECT_EQ(main->action("mnuDevMIDIIn_6")->text(), "In 6");
    EXPECT_EQ(main->action("mnuDevMIDIOut_7"), nullptr);
    EXPECT_TRUE(main->action("mnuDevMIDIIn_3")->isChecked());
    EXPECT_TRUE(main->action("mnuDevMIDIOut_1")->isChecked());
    EXPECT_TRUE(enabled("mnuMIDIThru"));

    // The checked input again: unchecked, no device, thru disabled.
    main->action("mnuDevMIDIIn_3")->trigger();
    EXPECT_EQ(midi().MIDIInDevice, 99);
    EXPECT_FALSE(enabled("mnuMIDIThru"));
    main->action("mnuDevMIDIIn_5")->trigger();
    EXPECT_TRUE(main->action("mnuDevMIDIIn_5")->isChecked());
    EXPECT_EQ(midi().MIDIInDevice, 5);
    EXPECT_TRUE(enabled("mnuMIDIThru"));
}

TEST_F(MainWindowTest, ClosingWritesSettingsWithPlacementAndDevices) {
    start();
    main->move(100, 50);
    main->resize(800, 600);
    main->action("mnuVisBarraStato")->trigger(); // hide the status bar
    main->showMaximized();
    main->action("mnuBloccoNote")->trigger();
    main->close();
    EXPECT_EQ(app().WinRec[38].State, 1); // the notebook was open
    EXPECT_EQ(app().ChildCount, 0);

    EXPECT_FALSE(devices.outputOpen());

    // The next start shows the status bar hidden and the window maximised.
    AppState again;
    again.setAppFolder(app().AppFolder);
    ASSERT_TRUE(LoadSettings(again));
    EXPECT_FALSE(again.StatusBarOn);
    EXPECT_EQ(again.MIDIInDevice, 99);
    EXPECT_EQ(again.MIDIOutDevice, 0);
    EXPECT_EQ(again.WinRec[1].State, 2);
    EXPECT_EQ(again.WinRec[1].Left, 1500); // 100 px
    EXPECT_EQ(again.WinRec[1].Width, 12000);
}

TEST_F(MainWindowTest, LanguageChoiceIsStoredForTheNextRunAndTheToolkitSpeaksIt) {
    store([](AppState& stored) { stored.LangCode = 1; });
    start();
    QMessageBox box(QMessageBox::Warning, "t", "x", QMessageBox::Yes | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "Annulla");
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove('&'), QString::fromUtf8("Sì"));

    main->action("mnuLinguaEn")->trigger();
    EXPECT_EQ(app().LangCode, 2);
    ASSERT_EQ(notifier.warnings.size(), 1u);
    EXPECT_EQ(notifier.warnings[0].text,
              "Il cambio avrà effetto alla prossima esecuzione del programma");

    // The next run speaks English, the toolkit too.
    main->close();
    bench.reset();
    start();
    QMessageBox english(QMessageBox::Warning, "t", "x", QMessageBox::Cancel);
    EXPECT_EQ(english.button(QMessageBox::Cancel)->text(), "Cancel");
}

TEST_F(MainWindowTest, TilingKeepsEveryControlInSightAlsoAfterARestart) {
    start();
    main->resize(700, 560);
    main->action("mnuBloccoNote")->trigger();
    main->action("mnuPannelloControllo")->trigger();
    const QSize area = main->mdiArea()->viewport()->size();
    ASSERT_LT(area.width(), 800); // inside the notebook's largest size

    // Horizontal bands as wide as the area, each as high as its half or as its controls need;
    // vertical ones the other way round.
    EXPECT_GT(sub("frmPannelloControllo")->minimumHeight(), area.height() / 2);
    for (const bool across : {true, false}) {
        SCOPED_TRACE(across);
        main->action(across ? "mnuAffiancaOrizz" : "mnuAffiancaVert")->trigger();
        std::vector<QPoint> corners;
        for (QMdiSubWindow* w : main->mdiArea()->subWindowList()) {
            const QRect r = w->geometry();
            corners.push_back(r.topLeft());
            EXPECT_EQ(across ? r.left() : r.top(), 0);
            const QSize whole = area.expandedTo(w->minimumSize());
            const QSize half =
                QSize(area.width() / 2, area.height() / 2).expandedTo(w->minimumSize());
            EXPECT_EQ(r.size(), across ? QSize(whole.width(), half.height())
                                       : QSize(half.width(), whole.height()));
        }
        ASSERT_EQ(corners.size(), 2u);
        EXPECT_NE(corners[0], corners[1]);
    }

    // Closed tiled, the panel reopens at the next start with every control inside it.
    main->close();
    bench.reset();
    start();
    main->action("mnuPannelloControllo")->trigger();
    QWidget* panel = sub("frmPannelloControllo")->widget();
    for (QWidget* c : panel->findChildren<QWidget*>()) {
        if (!c->isVisibleTo(panel) || c->isWindow()) continue;
        const QRect r(c->mapTo(panel, QPoint(0, 0)), c->size());
        EXPECT_TRUE(panel->rect().contains(r)) << c->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, APlacementOffEveryScreenComesBackOnScreenASettingsFileUnwrittenIsNamed) {
    store([](AppState& stored) {
        stored.WinRec[base::MainWindow] = WindowRecord{};
        stored.WinRec[base::MainWindow].Left = -30000;
        stored.WinRec[base::MainWindow].Top = 1500; // 100 px
        stored.WinRec[base::MainWindow].Width = 9000;
        stored.WinRec[base::MainWindow].Height = 6000;
    });
    start();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(main->pos(), QPoint(screen.left(), screen.top() + 100));
    EXPECT_EQ(main->size(), QSize(600, 400));

    app().SettingsPath = folderPath("gone") + kPathSeparator + "ZEPHALON.iniz";
    main->close();
    ASSERT_EQ(notifier.warnings.size(), 1u);
    EXPECT_EQ(notifier.warnings[0].text, "Errore di scrittura su disco: " + app().SettingsPath +
                                             " (No such file or directory)");
}

TEST_F(MainWindowTest, LampsLightOnTrafficAndTheInputOneGoesOutAfterABurst) {
    start();
    auto* out = main->findChild<QLabel*>("Label2MidiOut");
    EXPECT_NE(out->palette().color(QPalette::Window), QColor(255, 0, 0));
    midi().sendCommand(0xD2);
    EXPECT_EQ(out->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_TRUE(main->findChild<QTimer*>("TimerLabel2MIDIOut")->isActive());

    auto* lamp = main->findChild<QLabel*>("Label2MIDIIn");
    const QColor off = lamp->palette().color(QPalette::Window);
    for (int i = 0; i < 100'000; ++i)
        main->inputActivity();
    EXPECT_EQ(lamp->palette().color(QPalette::Window), QColor(0, 255, 0));
    EXPECT_TRUE(main->findChild<QTimer*>("TimerLabel2MIDIIn")->isActive());
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return lamp->palette().color(QPalette::Window) == off; }, 5000));
}

} // namespace
