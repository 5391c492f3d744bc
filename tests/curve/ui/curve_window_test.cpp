#include "curve_fixture.h"

using namespace base;
using namespace auxiliary;
using namespace unit;
using namespace panel;
using namespace curve;

TEST_F(CurveWindowTest, DrawSaveReopenFromTheRecentListAndSaveUnchanged) {
    frmProgCurva* w = newCurve();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowNumber(), 2);
    const std::string path = w->documentPath();
    EXPECT_EQ(path.rfind(t.app.AppFolder + "/CurvaAnticipo-", 0), 0u) << path;
    EXPECT_EQ(w->windowTitle(), QString::fromStdString("Curva Anticipo: " + path));

    drawCurveOne(w);
    const Curve c1 = w->document().curves[1];
    ASSERT_EQ(c1.CurveLastPoint, 2);
    EXPECT_EQ(c1.points[0].x, 3000);
    EXPECT_EQ(c1.points[1].x, 6600);
    EXPECT_EQ(c1.points[2].x, 11280);
    EXPECT_NEAR(c1.points[1].y, 3600, 15);
    EXPECT_TRUE(w->windowTitle().endsWith(" *"));
    EXPECT_TRUE(button(w, "ComProg")->isEnabled());
    EXPECT_TRUE(button(w, "ComSalva")->isEnabled());

    main->action("mnuSalva")->trigger();
    EXPECT_FALSE(w->windowTitle().endsWith(" *"));
    const std::optional<std::string> saved = readWholeFile(path);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->substr(0, 14), "crva 0  7500 0");
    EXPECT_EQ(t.app.RecentDoc[1].Path, path);
    main->action("mnuChiudi")->trigger();
    EXPECT_TRUE(curves().empty());

    main->action("mnuRecentFile_1")->trigger();
    frmProgCurva* again = active();
    ASSERT_NE(again, nullptr);
    for (int i = 0; i <= 2; ++i)
        EXPECT_EQ(again->document().curves[1].points[i], c1.points[i]) << i;
    EXPECT_EQ(again->document().curves[1].CurveTable, c1.CurveTable);
    EXPECT_TRUE(button(again, "ComProg")->isEnabled());
    EXPECT_FALSE(button(again, "ComProgMaster")->isEnabled());
    std::filesystem::remove(path);
    main->action("mnuSalva")->trigger();
    EXPECT_EQ(readWholeFile(path), saved); // opened and saved without edits: the same bytes

    // A point added by a click alone is a change, and so is an undo.
    EXPECT_FALSE(again->windowTitle().endsWith(" *"));
    click(again, px(9950 - 50, 10));
    EXPECT_EQ(again->document().curves[1].CurveLastPoint, 3);
    EXPECT_TRUE(again->windowTitle().endsWith(" *"));
    main->action("mnuSalva")->trigger();
    QTest::mouseClick(button(again, "ComAnnulla"), Qt::LeftButton);
    EXPECT_TRUE(again->windowTitle().endsWith(" *"));
    EXPECT_EQ(again->subWindow()->maximumSize(), QSize(940, 567)); // 14100 x 8500 twips
}

TEST_F(CurveWindowTest, CtrlZAndCtrlYWalkTheGraphsHistoryAndTheMarkFollowsIt) {
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    frmProgCurva* w = newCurve();
    choose(w, "1");
    drag(w, px(3000, 30), px(5000, 30));
    main->action("mnuSalva")->trigger();
    const Curve saved = w->document().curves[1];
    ASSERT_EQ(saved.CurveLastPoint, 1);
    EXPECT_FALSE(main->action("mnuRipeti")->isEnabled());

    // Three edits: a click, a press-drag-release (two points, one step), CANCELLA.
    click(w, px(6000, 25));
    drag(w, px(7000, 20), px(8000, 15));
    ASSERT_EQ(w->document().curves[1].CurveLastPoint, 4);
    QTest::mouseClick(button(w, "ComCancella"), Qt::LeftButton);
    const Curve cleared = w->document().curves[1];
    EXPECT_EQ(cleared.CurveLastPoint, 0);
    EXPECT_TRUE(w->windowTitle().endsWith(" *"));

    keys(w, Qt::Key_Z);
    EXPECT_EQ(w->document().curves[1].CurveLastPoint, 4);
    keys(w, Qt::Key_Z);
    EXPECT_EQ(w->document().curves[1].CurveLastPoint, 2);
    keys(w, Qt::Key_Z);
    EXPECT_TRUE(sameCurve(w->document().curves[1], saved));
    EXPECT_FALSE(w->windowTitle().endsWith(" *"));
    EXPECT_TRUE(main->action("mnuRipeti")->isEnabled());

    keys(w, Qt::Key_Y, 3);
    EXPECT_TRUE(sameCurve(w->document().curves[1], cleared));
    EXPECT_TRUE(w->windowTitle().endsWith(" *"));
    EXPECT_FALSE(main->action("mnuRipeti")->isEnabled());
    EXPECT_FALSE(button(w, "ComAnnulla")->isEnabled());
    // The history reaches back past the save: undoing the clear and the two edits, then
    // the first drag.
    keys(w, Qt::Key_Z, 4);
    EXPECT_EQ(w->document().curves[1].CurveLastPoint, 0);
    EXPECT_TRUE(w->windowTitle().endsWith(" *"));

    // A click that only brings a background editor forward adds no point.
    frmProgCurva* other = newCurve();
    ASSERT_NE(other, w);
    click(w, px(3000, 30));
    EXPECT_EQ(active(), w);
    EXPECT_EQ(w->document().curves[1].points[0], Point{});
    click(w, px(3000, 30));
    drag(w, px(3000, 30), px(4000, 35));
    EXPECT_EQ(w->document().curves[1].CurveLastPoint, 1);
}

TEST_F(CurveWindowTest, EditorRules) {
    frmProgCurva* w = newCurve();
    QLineEdit* vrm = get<QLineEdit>(w, "TextVRM");
    typeMaxRpm(w, "12000");
    EXPECT_EQ(vrm->text(), "9999");
    typeMaxRpm(w, "0000");
    EXPECT_EQ(vrm->text(), "0");
    typeMaxRpm(w, "1000");
    EXPECT_TRUE(vrm->styleSheet().contains("255,0,0"));
    typeMaxRpm(w, "1001");
    EXPECT_TRUE(vrm->styleSheet().contains("0,0,0"));
    EXPECT_EQ(w->document().maxRpmField, " 1001");

    // A right click beside the graph pops the Edit menu up.
    QTest::mouseClick(w, Qt::RightButton, {}, QPoint(w->width() - 3, w->height() - 3));
    QMenu* edit = main->findChild<QMenu*>("mnuModifica");
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->isVisible());
    edit->hide();

    // Closing with changes asks; Cancel keeps the window.
    t.notifier.nextAnswer = Notifier::Answer::Cancel;
    main->action("mnuChiudi")->trigger();
    ASSERT_EQ(t.notifier.questions.size(), 1u);
    EXPECT_EQ(t.notifier.questions[0].text, "Il file è stato modificato\r\nSalvare le modifiche ?");
    EXPECT_EQ(t.notifier.questions[0].title.rfind("File: ", 0), 0u);
    EXPECT_EQ(curves().size(), 1u);
}

TEST_F(CurveWindowTest, TenWindowsAtMostOnSlotsTwoToEleven) {
    for (int i = 0; i < 10; ++i)
        ASSERT_NE(newCurve(), nullptr) << i;
    EXPECT_FALSE(main->action("mnuNuovoCrva")->isEnabled());
    EXPECT_FALSE(main->action("mnuApriCrva")->isEnabled());
    main->action("mnuProgCurva")->trigger();
    EXPECT_EQ(curves().size(), 10u);
    std::set<int> numbers;
    for (frmProgCurva* c : curves())
        numbers.insert(c->windowNumber());
    EXPECT_EQ(numbers, (std::set<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    t.notifier.nextAnswer = Notifier::Answer::No;
    main->mdiArea()->setActiveSubWindow(curves()[3]->subWindow());
    main->action("mnuChiudi")->trigger();
    EXPECT_TRUE(main->action("mnuNuovoCrva")->isEnabled());
    EXPECT_EQ(newCurve()->windowNumber(), 5); // the freed number
}

TEST_F(CurveWindowTest, LockedAndRefusedFiles) {
    CurveDocument doc;
    doc.lock = '1';
    const std::string locked = t.path("locked.crva");
    ASSERT_EQ(writeFileAtomically(locked, serializeCrva(doc)), "");
    main->documents().openPath(locked);
    frmProgCurva* w = active();
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(button(w, "ComCancella")->isEnabled());
    drag(w, px(1000, 10), px(2000, 20));
    EXPECT_EQ(w->document().curves[1].CurveLastPoint, 0);
    main->action("mnuSalva")->trigger();
    EXPECT_EQ(readWholeFile(locked).value_or("").substr(0, 14), "crva 0  7500 1");

    const std::string bad = t.path("bad.crva");
    ASSERT_EQ(writeFileAtomically(bad, std::string(41, ' ')), "");
    main->documents().openPath(bad);
    ASSERT_EQ(writeFileAtomically(bad, "crvx" + std::string(100, ' ')), "");
    main->documents().openPath(bad);
    EXPECT_EQ(curves().size(), 1u);
    EXPECT_TRUE(t.notifier.warnings.empty());
}

TEST_F(CurveWindowTest, CurveOneIntoMdxWithProgressAndVerification) {
    frmProgCurva* w = newCurve();
    drawCurveOne(w);
    programmingOn(w);
    EXPECT_EQ(link.sent.back(), 0xD1u);
    EXPECT_EQ(button(w, "ComProg")->text(), "PROG OFF");
    EXPECT_TRUE(button(w, "ComProgMaster")->isEnabled());
    choose(w, "0"); // curve 0 is never transferred
    EXPECT_FALSE(button(w, "ComProgMaster")->isEnabled());
    choose(w, "1");
    ASSERT_TRUE(button(w, "ComProgMaster")->isEnabled());

    QTest::mouseClick(button(w, "ComProgMaster"), Qt::LeftButton);
    EXPECT_FALSE(get<QWidget>(w, "Picture1")->isEnabled());
    EXPECT_FALSE(button(w, "ComSalva")->isEnabled());
    w->TimerProg_Timer(); // state 0: the progress window
    ASSERT_TRUE(progressOpen());
    w->TimerProg_Timer(); // state 1: 5
    pump();               // each step is 80 ms apart, longer than the unit's write time
    w->TimerProg_Timer(); // the first entry
    pump();
    auto* bar = main->findChild<frmProgressBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->windowTitle(), "MDX programmazione 1: 6 - 0");
    EXPECT_EQ(bar->ProgressBar1->maximum(), 108);
    // 217 steps: the maximum rpm, 107 entries, the flags byte, then 108 read back.
    EXPECT_EQ(bar->LabFase->text(), "Scrittura curva 1 in MDX");
    EXPECT_EQ(bar->LabTempo->text(), "0% - mancano 26 s");         // 240 ms for 2 steps, 215 to go
    EXPECT_EQ(main->mdiArea()->activeSubWindow(), w->subWindow()); // the bar takes no focus
    std::vector<QString> shown;
    QObject::connect(bar->ProgressBar1, &QProgressBar::valueChanged, bar, [&] {
        shown.push_back(bar->LabFase->text() + " | " + bar->LabTempo->text());
    });
    runTransfer(w);
    EXPECT_FALSE(progressOpen());
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), "Verifica curva 1 in MDX | 100% - mancano 0 s");
    EXPECT_EQ(bar->ProgressBar1->value(), 108);
    // 220 ticks of 80 ms: 2 to start, 107 writes, 3 for the flags byte, 1 for the maximum
    // rpm read back, 107 entries read back.
    EXPECT_EQ(statusMessage(), "Curva 1 scritta in MDX e verificata in 17,6 s");
    EXPECT_TRUE(t.notifier.warnings.empty()) << lastWarning();
    EXPECT_EQ(module(UnitModuleId::MDX)[5], 75); // the window's maximum rpm
    EXPECT_EQ(module(UnitModuleId::MDX)[6 + 67], w->document().curves[1].CurveTable[67]);
    EXPECT_TRUE(get<QWidget>(w, "Picture1")->isEnabled());
    EXPECT_TRUE(button(w, "ComSalva")->isEnabled());
    EXPECT_TRUE(button(w, "ComProgMaster")->isEnabled());
}

TEST_F(CurveWindowTest, FailedTransfersSayWhyAndGiveTheEditorBack) {
    frmProgCurva* w = newCurve();
    drawCurveOne(w);
    programmingOn(w);
    UnitFaults f;
    f.wrongModuleProbability = 1;
    link.unit.setFaults(f);
    QTest::mouseClick(button(w, "ComProgMaster"), Qt::LeftButton);
    runTransfer(w);
    EXPECT_EQ(lastWarning(), "Errore scrittura EEPROM");
    EXPECT_FALSE(progressOpen());
    EXPECT_TRUE(get<QWidget>(w, "Picture1")->isEnabled());

    f = UnitFaults{};
    f.silent = true;
    link.unit.setFaults(f);
    QTest::mouseClick(button(w, "ComProgMaster"), Qt::LeftButton);
    const int ticks = runTransfer(w);
    EXPECT_EQ(ticks, 2 + 107 + 1 + 13); // writes, the flags read, then about a second
    EXPECT_EQ(lastWarning(), "Nessuna risposta dalla centralina");
    EXPECT_FALSE(progressOpen());
    EXPECT_TRUE(get<QWidget>(w, "Picture1")->isEnabled());
    EXPECT_TRUE(get<QWidget>(w, "TextVRM")->isEnabled());

    // Switching programming off mid-transfer stops it; the unit's answer to "off" does
    // not turn the mode back on.
    link.unit.setFaults({});
    QTest::mouseClick(button(w, "ComProgMaster"), Qt::LeftButton);
    for (int i = 0; i < 5; ++i)
        w->TimerProg_Timer();
    QTest::mouseClick(button(w, "ComProg"), Qt::LeftButton);
    pump();
    EXPECT_EQ(lastWarning(), "Operazione annullata");
    EXPECT_FALSE(progressOpen());
    EXPECT_EQ(button(w, "ComProg")->text(), "PROG ON");
    EXPECT_FALSE(button(w, "ComProgMaster")->isEnabled());
}

TEST_F(CurveWindowTest, AnUnansweredHandshakeGivesUpAfterASecond) {
    frmProgCurva* w = newCurve();
    drawCurveOne(w);
    UnitFaults f;
    f.silent = true;
    link.unit.setFaults(f);
    programmingOn(w);
    EXPECT_EQ(button(w, "ComProg")->text(), "PROG OFF");
    EXPECT_FALSE(button(w, "ComProgMaster")->isEnabled());
    int steps = 1;
    for (; steps < 20 && button(w, "ComProg")->text() == "PROG OFF"; ++steps)
        pump();
    EXPECT_EQ(steps, 14); // 13 ticks of 80 ms after the first: given up after a second
    EXPECT_EQ(lastWarning(), "Nessuna risposta dalla centralina");
    EXPECT_EQ(button(w, "ComProg")->text(), "PROG ON");
    // A late answer finds no request waiting.
    decoder.DecodeMIDIIn(0xD1);
    EXPECT_FALSE(button(w, "ComProgMaster")->isEnabled());
}

// Curve 0 taken from another file: drawn in black beside the selected curve, saved with the
// document, and never written into the unit, whose tables are curves 1 and 2.
TEST_F(CurveWindowTest, CurveZeroFromAnotherFileIsDrawnAndNeverTransferred) {
    // The other file's curve 1: 10 degrees at 2,000 rpm rising to 40 at 8,000 (25 at 5,000).
    CurveDocument other;
    Curve& source = other.curves[1];
    source.points[0] = {1800, 1200};
    source.points[1] = {9000, 4800};
    source.CurveLastPoint = 1;
    BuildCurveTable(source);
    const std::string path = t.path("altra.crva");
    ASSERT_TRUE(writeFileAtomically(path, serializeCrva(other)).empty());

    frmProgCurva* w = newCurve();
    drawCurveOne(w); // 30 degrees at 5,000 rpm
    choose(w, "2");
    drag(w, px(1000, 5), px(9000, 35)); // 20 degrees at 5,000 rpm
    const Curve one = w->document().curves[1];
    const Curve two = w->document().curves[2];
    w->setCurve0Source([&] { return frmProgCurva::CurveSource{QString::fromStdString(path), 1}; });
    QTest::mouseClick(button(w, "ComCurva0Da"), Qt::LeftButton);

    const CurveDocument& doc = w->document();
    ASSERT_EQ(doc.curves[0].CurveLastPoint, 1);
    EXPECT_EQ(doc.curves[0].points[1], source.points[1]);
    EXPECT_EQ(doc.curves[0].CurveTable, source.CurveTable);
    EXPECT_EQ(doc.curves[1].CurveTable, one.CurveTable);
    EXPECT_EQ(doc.curves[2].CurveTable, two.CurveTable);
    EXPECT_EQ(doc.curves[2].points[1], two.points[1]);
    EXPECT_EQ(button(w, "ComCrva0")->text(), "CANC 0");
    EXPECT_TRUE(w->windowTitle().endsWith(" *"));
    // Black on the graph where only curve 0 runs.
    const QImage graph = get<QWidget>(w, "Picture1")->grab().toImage();
    bool black = false;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            const QColor c = graph.pixelColor(px(5000, 25) + QPoint(dx, dy));
            black = black || (c.red() < 60 && c.green() < 60 && c.blue() < 60);
        }
    EXPECT_TRUE(black);

    // Both curves into MSX while the user goes on in the control panel: the editor stays
    // behind, and the unit's tables are curves 1 and 2, nothing of curve 0.
    main->action("mnuPannelloControllo")->trigger();
    main->mdiArea()->setActiveSubWindow(w->subWindow());
    programmingOn(w);
    choose(w, "12");
    ASSERT_TRUE(button(w, "ComProgSlave")->isEnabled());
    QTest::mouseClick(button(w, "ComProgSlave"), Qt::LeftButton);
    QMdiSubWindow* panel = main->mdiArea()->subWindowList().at(1);
    main->mdiArea()->setActiveSubWindow(panel);
    runTransfer(w);
    EXPECT_EQ(main->mdiArea()->activeSubWindow(), panel);
    EXPECT_TRUE(statusMessage().startsWith("Curve 1 e 2 scritte in MSX e verificate in "));
    EXPECT_TRUE(t.notifier.warnings.empty()) << lastWarning();
    const UnitBytes& m = module(UnitModuleId::MSX);
    EXPECT_TRUE(
        std::equal(one.CurveTable.begin(), one.CurveTable.begin() + StoredEntries, m.begin() + 6));
    EXPECT_TRUE(std::equal(two.CurveTable.begin(), two.CurveTable.begin() + StoredEntries,
                           m.begin() + 113));
    EXPECT_NE(source.CurveTable, one.CurveTable);
}
