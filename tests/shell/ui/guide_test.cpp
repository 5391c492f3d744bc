#include "base/MenuTable.h"
#include "base/ui/ChildWindow.h"
#include "shell/GuideLocation.h"
#include "support/ui/WorkbenchFixture.h"
#include "unit/backends/SimulatedUnitSystem.h"
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>

namespace {

void writeFile(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<html></html>");
}

// The frame; the Help entry's guide is recorded, or shown in the program's help window.
class GuideTest : public WorkbenchFixture {
protected:
    QTemporaryDir elsewhere; // holds a program folder, never the start folder
    QStringList opened;

    // The program as if installed in programFolder; the guide it opens is recorded, or shown in
    // its help window.
    void start(const QString& programFolder, bool helpWindow = false) {
        frmMain::GuideOpener record = [this](const QString& path, const QString&) {
            opened << path;
        };
        main->setGuideOpener(helpWindow ? nullptr : record, programFolder);
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    }
    QString at(const QString& relative) const { return elsewhere.filePath(relative); }
    void help() { main->action("mnuGuida")->trigger(); }
    QWidget* helpWindow() const { return main->findChild<QWidget*>("frmGuida"); }
    template <class W> W* inHelp(const char* name) const {
        return helpWindow() ? helpWindow()->findChild<W*>(name) : nullptr;
    }
    // The window becomes the active one (activation is asynchronous on some platforms).
    static bool broughtForward(QWidget* window) {
        return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
    }
    QString chapterShown() const { return inHelp<QTextBrowser>("TextGuida")->source().fragment(); }
};

// The order of the places is GuideLocation's (start_options_test); here the Help entry
// finds what is there, in the language in use, and says when nothing is.
TEST_F(GuideTest, OpensTheGuideOfTheLanguageBesideTheProgramOrSaysFileMissing) {
    writeFile(at("prefix/share/zephalon/guide/UserGuide.htm")); // English only
    start(at("prefix/bin"));
    help(); // Italian: none anywhere
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(t.notifier.warnings.size(), 1u);
    EXPECT_EQ(t.notifier.warnings[0].text, "File assente");

    t.app.LangCode = 2;
    help();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], at("prefix/share/zephalon/guide/UserGuide.htm"));

    // A guide in the folder the program was started in wins.
    writeFile(QString::fromStdString(t.app.GuideEnPath));
    help();
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(QFileInfo(opened[1]), QFileInfo(QString::fromStdString(t.app.GuideEnPath)));
    EXPECT_EQ(t.notifier.warnings.size(), 1u);
}

// No browser is involved: the guide opens in the program's own window, offscreen.
TEST_F(GuideTest, HelpWindowShowsTheGuideFollowsLinksGoesBackAndFinds) {
    start(ZEPHALON_SOURCE_DIR "/docs", true);
    t.app.LangCode = 2; // docs/guide/UserGuide.htm
    help();
    QWidget* window = helpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("ZEPHALON workbench – User Guide"));
    auto* page = inHelp<QTextBrowser>("TextGuida");
    EXPECT_EQ(chapterShown(), "");

    // The contents' link to chapter 4, clicked.
    QTextCursor link = page->document()->find("Advance curves");
    ASSERT_FALSE(link.isNull());
    link.setPosition(link.selectionStart() + 3);
    QTest::mouseClick(page->viewport(), Qt::LeftButton, {}, page->cursorRect(link).center());
    EXPECT_EQ(chapterShown(), "curves");
    EXPECT_GT(page->verticalScrollBar()->value(), 0);
    auto* back = inHelp<QPushButton>("ComIndietro");
    ASSERT_TRUE(back->isEnabled());
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(chapterShown(), "");
    EXPECT_EQ(page->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(inHelp<QPushButton>("ComAvanti")->isEnabled());

    // Ctrl+F, a word, Enter: its first match; Next and Previous go on and back.
    ASSERT_TRUE(broughtForward(window));
    auto* find = inHelp<QLineEdit>("TextTrova");
    page->setFocus();
    QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(QApplication::focusWidget(), find);
    QTest::keyClicks(find, "Cod Err");
    QTest::keyClick(find, Qt::Key_Return);
    EXPECT_EQ(page->textCursor().selectedText(), "Cod Err");
    const int first = page->textCursor().position();
    QTest::mouseClick(inHelp<QPushButton>("ComTrovaSucc"), Qt::LeftButton);
    EXPECT_GT(page->textCursor().position(), first);
    QTest::mouseClick(inHelp<QPushButton>("ComTrovaPrec"), Qt::LeftButton);
    EXPECT_EQ(page->textCursor().position(), first);
    EXPECT_TRUE(t.notifier.warnings.empty());
}

TEST_F(GuideTest, F1OpensTheChapterOfTheWindowInUseInTheOneHelpWindow) {
    start(ZEPHALON_SOURCE_DIR "/docs", true); // Italian: GuidaUtente.htm
    QTest::keyClick(main, Qt::Key_F1);        // no child window: the frame's chapter
    ASSERT_NE(helpWindow(), nullptr);
    EXPECT_EQ(chapterShown(), "workbench");

    main->action("mnuProgCurva")->trigger();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    EXPECT_EQ(chapterShown(), "curves");
    EXPECT_GT(inHelp<QTextBrowser>("TextGuida")->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(broughtForward(helpWindow()));

    // Chosen from the menu: the same window, at the top of the guide.
    help();
    EXPECT_EQ(chapterShown(), "");
    EXPECT_EQ(main->findChildren<QWidget*>("frmGuida").size(), 1);
}

// Each window the menus open has its chapter (F1) in both guides. That it is pictured in both
// is checked by scripts/package-check.sh, which runs the screenshot tool.
TEST(GuideWindows, EveryWindowTheMenusOpenHasItsChapterInBothGuides) {
    SimulatedUnitSystem simulated;
    UnitTimeWorkbench program(0, &simulated);
    frmMain* main = program.main;
    // A window that opens with unsaved work (a new coil program) is closed without saving.
    program.notifier.nextAnswer = Notifier::Answer::No;
    // Each window's chapter (F1) is in both guides.
    QStringList guides;
    for (const char* guide : {"UserGuide.htm", "GuidaUtente.htm"}) {
        QFile f(QString(ZEPHALON_SOURCE_DIR "/docs/guide/") + guide);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        guides << QString::fromUtf8(f.readAll());
    }
    auto hasChapter = [&guides](const QString& window) {
        const std::string chapter = guideChapter(window.toStdString());
        const QString id = "id=\"" + QString::fromStdString(chapter) + "\"";
        return !chapter.empty() && guides[0].contains(id) && guides[1].contains(id);
    };
    EXPECT_TRUE(hasChapter("frmMain"));
    int windows = 0;
    for (const base::Entry& e : base::entries()) {
        if (e.instances == base::Instances::None || e.item == base::Item::Window) continue;
        const char* entry = e.name.data();
        if (main->documents().kindOfEntry(entry)) continue; // an open dialog
        if (!main->action(entry)->isEnabled()) continue;    // no window behind it yet
        ChildWindow* w = main->openChild(entry);
        ASSERT_NE(w, nullptr) << entry;
        ++windows;
        EXPECT_TRUE(hasChapter(w->objectName())) << w->objectName().toStdString();
        main->mdiArea()->closeAllSubWindows();
    }
    EXPECT_GE(windows, 6);
}

} // namespace
