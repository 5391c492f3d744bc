#include "app/GuideLocation.h"
#include "app/MenuTable.h"
#include "app/SettingsStore.h"
#include "app/StartOptions.h"
#include "app/ui/ChildWindow.h"
#include "app/ui/WindowRegistry.h"
#include "app/ui/frmMain.h"
#include "midi/Decoder.h"
#include "midi/UnitLink.h"
#include "midi/backends/SimulatedUnitSystem.h"
#include "support/ui/TestContext.h"
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMdiArea>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace {

class NullDecoder : public MessageDecoder {
public:
    void DecodeMIDIIn(uint32_t) override {}
};

void writeFile(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<html></html>");
}

QString sourceDir() {
    return ZEPHALON_SOURCE_DIR;
}
QString buildDir() {
    return ZEPHALON_BUILD_DIR;
}

// The frame; the Help entry's guide is recorded, or shown in the program's help window.
struct GuideTest : ::testing::Test {
    TestContext t;
    NullDecoder decoder;
    DecoderTargets targets;
    Decoder unitDecoder{t.midi, t.app, t.notifier, targets};
    UnitLink unitLink{t.midi, unitDecoder, targets};
    std::unique_ptr<frmMain> main;
    QTemporaryDir elsewhere; // holds a program folder, never the start folder
    QStringList opened;

    void start(const QString& programFolder, bool helpWindow = false) {
        t.ctx.decoder = &unitDecoder;
        t.ctx.link = &unitLink;
        t.ctx.targets = &targets;
        main = std::make_unique<frmMain>(t.ctx, decoder);
        registerWindows(*main, nullptr);
        frmMain::GuideOpener record = [this](const QString& path, const QString&) {
            opened << path;
        };
        main->setGuideOpener(helpWindow ? nullptr : record, programFolder);
        main->MDIForm_Load();
        main->show();
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
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

TEST_F(GuideTest, OpensTheGuideOfTheLanguageBesideTheInstalledProgram) {
    writeFile(at("prefix/share/zephalon/guide/UserGuide.htm"));
    writeFile(at("prefix/share/zephalon/guide/GuidaUtente.htm"));
    t.app.LangCode = 2;
    start(at("prefix/bin"));
    help();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], at("prefix/share/zephalon/guide/UserGuide.htm"));

    t.app.LangCode = 1;
    help();
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[1], at("prefix/share/zephalon/guide/GuidaUtente.htm"));
    EXPECT_TRUE(t.notifier.warnings.empty());
}

TEST_F(GuideTest, BesideTheProgramAndInTheBuildFolderAndTheStartFolderFirst) {
    writeFile(at("build/guide/GuidaUtente.htm")); // the build's copy of docs/guide
    writeFile(at("build/UserGuide.htm"));         // one put beside the program
    start(at("build"));
    help();
    t.app.LangCode = 2;
    help();
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], at("build/guide/GuidaUtente.htm"));
    EXPECT_EQ(opened[1], at("build/UserGuide.htm"));

    // A guide in the folder the program was started in wins.
    writeFile(QString::fromStdString(t.app.GuideEnPath));
    help();
    ASSERT_EQ(opened.size(), 3);
    EXPECT_EQ(QFileInfo(opened[2]), QFileInfo(QString::fromStdString(t.app.GuideEnPath)));
    EXPECT_TRUE(t.notifier.warnings.empty());
}

TEST_F(GuideTest, FileMissingOnlyWhenNoGuideOfTheLanguageExists) {
    writeFile(at("bin/guide/UserGuide.htm")); // English only
    start(at("bin"));
    help(); // Italian: none anywhere
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(t.notifier.warnings.size(), 1u);
    EXPECT_EQ(t.notifier.warnings[0].text, "File assente");

    t.app.LangCode = 2;
    help();
    EXPECT_EQ(opened.size(), 1);
    EXPECT_EQ(t.notifier.warnings.size(), 1u);
}

// No browser is involved: the guide opens in the program's own window, offscreen.
TEST_F(GuideTest, HelpWindowShowsTheGuideFollowsLinksGoesBackAndFinds) {
    t.app.LangCode = 2;
    start(sourceDir() + "/docs", true); // docs/guide/UserGuide.htm
    help();
    QWidget* window = helpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("ZEPHALON workbench – User Guide"));
    auto* page = inHelp<QTextBrowser>("TextGuida");
    EXPECT_EQ(chapterShown(), "");
    EXPECT_FALSE(
        page->loadResource(QTextDocument::ImageResource, QUrl("images/en/frmMain.png")).isNull());

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
    start(sourceDir() + "/docs", true);      // Italian: GuidaUtente.htm
    QTest::keyClick(main.get(), Qt::Key_F1); // no child window: the frame's chapter
    ASSERT_NE(helpWindow(), nullptr);
    EXPECT_EQ(chapterShown(), "workbench");

    main->action("mnuProgCurva")->trigger();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    EXPECT_EQ(chapterShown(), "curves");
    EXPECT_GT(inHelp<QTextBrowser>("TextGuida")->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(broughtForward(helpWindow()));

    // Chosen from the menu: the same window, at the top of the guide.
    help();
    EXPECT_EQ(chapterShown(), "");
    EXPECT_EQ(main->findChildren<QWidget*>("frmGuida").size(), 1);
}

TEST_F(GuideTest, SimulatedOptionStartsWithTheSimulatedUnitChosenBothWays) {
    // The last run remembered other devices.
    t.app.MIDIOutDevice = 2;
    t.app.MIDIInDevice = 1;
    ASSERT_TRUE(SaveSettings(t.app).empty());
    AppState next;
    next.setAppFolder(t.app.AppFolder);
    ASSERT_TRUE(LoadSettings(next));
    ASSERT_EQ(next.MIDIOutDevice, 2);
    applyStartOptions(parseStartOptions({"--simulated"}), next);

    t.midiSystem.outNames = {"Simulated unit", "Synth", "Interface"};
    t.midiSystem.inNames = {"Simulated unit", "Interface"};
    t.midi.MIDIOutDevice = next.MIDIOutDevice;
    t.midi.MIDIInDevice = next.MIDIInDevice;
    ASSERT_TRUE(t.midi.enumerateAndOpen());
    start(at("bin"));
    EXPECT_TRUE(main->action("mnuDevMIDIOut_0")->isChecked());
    EXPECT_TRUE(main->action("mnuDevMIDIIn_0")->isChecked());
    EXPECT_FALSE(main->action("mnuDevMIDIOut_2")->isChecked());
    EXPECT_FALSE(main->action("mnuDevMIDIIn_1")->isChecked());
    EXPECT_TRUE(main->action("mnuMIDIThru")->isEnabled()); // both open
    EXPECT_TRUE(t.midiSystem.outputOpen());
    EXPECT_TRUE(t.midiSystem.inputOpen());
    EXPECT_TRUE(t.notifier.warnings.empty());
}

// ---- the built program, its pictures and its installation -------------------------------

struct ProcessRun {
    int exitCode = -1;
    bool finished = false;
    QString out; // standard output
    QString err;
};

ProcessRun run(const QString& program, const QStringList& args, const QString& folder = {},
               int timeoutMs = 120000) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_DATA_DIRS", "/nonexistent"); // no system-wide guide may stand in
    p.setProcessEnvironment(env);
    if (!folder.isEmpty()) p.setWorkingDirectory(folder);

    p.start(program, args);
    ProcessRun r;
    r.finished = p.waitForFinished(timeoutMs);
    if (!r.finished) {
        p.kill();
        p.waitForFinished();
    }
    r.exitCode = p.exitCode();
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

// The pictures a guide shows: src of every <img> under images/<lang>/, split into those the
// screenshots must supply and those marked as still to come.
struct GuidePictures {
    QSet<QString> shown;
    QSet<QString> pending;
};

GuidePictures picturesOf(const QString& guide, const QString& lang) {
    QFile f(sourceDir() + "/docs/guide/" + guide);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << guide.toStdString();
    const QString html = QString::fromUtf8(f.readAll());
    GuidePictures pictures;
    static const QRegularExpression img("<img\\b[^>]*>");
    static const QRegularExpression src("src=\"images/(\\w+)/(\\w+)\\.png\"");
    for (const auto& m : img.globalMatch(html)) {
        const QString tag = m.captured(0);
        const auto s = src.match(tag);
        if (!s.hasMatch()) continue;
        EXPECT_EQ(s.captured(1), lang) << guide.toStdString() << ": " << tag.toStdString();
        (tag.contains("class=\"pending\"") ? pictures.pending : pictures.shown) << s.captured(2);
    }
    return pictures;
}

QStringList screenshotList() {
    const ProcessRun list = run(buildDir() + "/zephalon_screenshots", {"--list"});
    EXPECT_EQ(list.exitCode, 0) << list.err.toStdString();
    return list.out.split('\n', Qt::SkipEmptyParts);
}

// A window the menus open must be in the screenshot list, and every picture the tool takes
// must be shown in both guides: a new window then fails here until its line is added to the
// tool's list and the guides show its picture.
TEST_F(GuideTest, EveryWindowTheMenusOpenIsPicturedInBothGuides) {
    SimulatedUnitSystem simulated;
    t.ctx.decoder = &unitDecoder;
    t.ctx.link = &unitLink;
    t.ctx.targets = &targets;
    main = std::make_unique<frmMain>(t.ctx, decoder);
    registerWindows(*main, nullptr, &simulated);
    main->MDIForm_Load();
    main->show();
    const QStringList listed = screenshotList();
    // A window that opens with unsaved work (a new coil program) is closed without saving.
    t.notifier.nextAnswer = Notifier::Answer::No;
    // Each window's chapter (F1) is in both guides.
    QStringList guides;
    for (const char* guide : {"UserGuide.htm", "GuidaUtente.htm"}) {
        QFile f(sourceDir() + "/docs/guide/" + guide);
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
    for (const menu::Entry& e : menu::entries()) {
        if (e.instances == menu::Instances::None || e.item == menu::Item::Window) continue;
        const char* entry = e.name.data();
        if (main->documents().kindOfEntry(entry)) continue; // an open dialog
        if (!main->action(entry)->isEnabled()) continue;    // no window behind it yet
        ChildWindow* w = main->openChild(entry);
        ASSERT_NE(w, nullptr) << entry;
        ++windows;
        EXPECT_TRUE(listed.contains(w->objectName()))
            << entry << " opens " << w->objectName().toStdString()
            << ", which the screenshot tool's list lacks";
        EXPECT_TRUE(hasChapter(w->objectName())) << w->objectName().toStdString();
        main->mdiArea()->closeAllSubWindows();
    }
    EXPECT_GE(windows, 6);
    for (const auto& [guide, lang] :
         {std::pair{"UserGuide.htm", "en"}, {"GuidaUtente.htm", "it"}}) {
        const GuidePictures pictures = picturesOf(guide, lang);
        for (const QString& name : listed)
            EXPECT_TRUE(pictures.shown.contains(name))
                << guide << " does not show the picture of " << name.toStdString();
    }
}

TEST(GuidePictures, EveryWindowTheGuideShowsHasItsScreenshotInBothLanguages) {
    const QString tool = buildDir() + "/zephalon_screenshots";
    const QStringList listed = screenshotList();
    ASSERT_TRUE(listed.contains("frmMain"));

    for (const auto& [guide, lang] :
         {std::pair{"UserGuide.htm", "en"}, {"GuidaUtente.htm", "it"}}) {
        const GuidePictures pictures = picturesOf(guide, lang);
        ASSERT_TRUE(pictures.shown.contains("frmMain")) << guide;
        // A window whose screenshot exists must not stay marked as to come.
        for (const QString& name : pictures.pending)
            EXPECT_FALSE(listed.contains(name))
                << guide << ": " << name.toStdString() << " has a screenshot now; drop its mark";
        QTemporaryDir out;
        const ProcessRun shots =
            run(tool, QStringList{"--lang", lang, out.path()} + pictures.shown.values());
        EXPECT_EQ(shots.exitCode, 0) << shots.err.toStdString();
        for (const QString& name : pictures.shown) {
            const QImage image(out.filePath(name + ".png"));
            EXPECT_FALSE(image.isNull())
                << guide << " shows " << name.toStdString() << " but no screenshot of it was made";
            EXPECT_GT(image.width(), 100) << name.toStdString();
        }
    }
}

TEST(BuiltProgram, RunFromTheBuildFolderFindsTheGuideOfTheStoredLanguageAndWritesNothing) {
    QTemporaryDir startFolder;
    AppState english;
    english.setAppFolder(startFolder.path().toStdString());
    english.LangCode = 2;
    ASSERT_TRUE(SaveSettings(english).empty());
    const ProcessRun guide = run(buildDir() + "/zephalon", {"--guide"}, startFolder.path());
    EXPECT_EQ(guide.exitCode, 0) << guide.err.toStdString();
    EXPECT_EQ(QFileInfo(guide.out.trimmed()).canonicalFilePath().toStdString(),
              QFileInfo(buildDir() + "/guide/UserGuide.htm").canonicalFilePath().toStdString());

    // In an empty folder: the Italian guide, and the folder stays empty.
    QTemporaryDir empty;
    const ProcessRun italian = run(ZEPHALON_EXECUTABLE, {"--guide"}, empty.path());
    EXPECT_EQ(italian.exitCode, 0) << italian.err.toStdString();
    EXPECT_EQ(QFileInfo(italian.out.trimmed()).canonicalFilePath().toStdString(),
              QFileInfo(buildDir() + "/guide/GuidaUtente.htm").canonicalFilePath().toStdString());
    EXPECT_TRUE(QDir(empty.path()).isEmpty())
        << QDir(empty.path()).entryList().join(' ').toStdString();
}

TEST(Install, IntoATemporaryPrefixGivesAProgramThatStartsAndFindsItsGuide) {
    QTemporaryDir prefix;
    const ProcessRun install =
        run(CMAKE_COMMAND, {"--install", buildDir(), "--prefix", prefix.path()}, {}, 300000);
    ASSERT_EQ(install.exitCode, 0) << install.err.toStdString();
    const QString program = prefix.filePath("bin/zephalon");
    ASSERT_TRUE(QFileInfo(program).isExecutable());
    for (const char* file :
         {"share/zephalon/guide/UserGuide.htm", "share/zephalon/guide/GuidaUtente.htm",
          "share/zephalon/guide/images/en/frmMain.png",
          "share/zephalon/guide/images/it/frmMain.png"})
        EXPECT_TRUE(QFileInfo(prefix.filePath(file)).isFile()) << file;

    // The desktop entry names the program and an icon that was installed.
    QFile desktop(prefix.filePath("share/applications/zephalon.desktop"));
    ASSERT_TRUE(desktop.open(QIODevice::ReadOnly));
    const QString entry = QString::fromUtf8(desktop.readAll());
    EXPECT_TRUE(entry.contains("\nExec=zephalon %F\n")); // files given open as documents
    EXPECT_TRUE(entry.contains("\nIcon=zephalon\n"));
    const QStringList icons = QDir(prefix.filePath("share/icons/hicolor"))
                                  .entryList({"*"}, QDir::Dirs | QDir::NoDotAndDotDot);
    bool iconFound = false;
    for (const QString& size : icons)
        for (const char* ext : {".svg", ".png"})
            iconFound |=
                QFileInfo(prefix.filePath("share/icons/hicolor/" + size + "/apps/zephalon" + ext))
                    .isFile();
    EXPECT_TRUE(iconFound);

    // Started in an empty folder, the installed program finds its own guide (no settings
    // there: Italian).
    QTemporaryDir startFolder;
    const ProcessRun guide = run(program, {"--guide"}, startFolder.path());
    EXPECT_EQ(guide.exitCode, 0) << guide.out.toStdString();
    EXPECT_EQ(QFileInfo(guide.out.trimmed()).canonicalFilePath().toStdString(),
              QFileInfo(prefix.filePath("share/zephalon/guide/GuidaUtente.htm"))
                  .canonicalFilePath()
                  .toStdString())
        << guide.err.toStdString();

    // With the simulated unit it keeps running (no box waits for an answer, nothing fails)
    // until it is stopped.
    const ProcessRun program2 = run(program, {"--simulated"}, startFolder.path(), 3000);
    EXPECT_FALSE(program2.finished) << program2.err.toStdString();
}

} // namespace
