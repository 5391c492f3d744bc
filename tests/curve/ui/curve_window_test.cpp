#include "curve_fixture.h"
#include <QInputDialog>
#include <QMenu>
#include <QProgressBar>

TEST_F(CurveWindowTest, DrawSaveReopenEditAndExitWithChanges) {
    frmProgCurva* w = newCurve();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QString::fromStdString("Curva Anticipo: " + w->documentPath()));

    drawCurveOne(w);
    const Curve c1 = w->document().curves[1];
    ASSERT_EQ(c1.CurveLastPoint, 2);
    EXPECT_EQ(c1.points[2].x, 11280);
    EXPECT_NEAR(c1.points[1].y, 3600, 15);

    main->action("mnuSalva")->trigger();
    main->action("mnuChiudi")->trigger();
    EXPECT_TRUE(main->mdiArea()->subWindowList().isEmpty());

    main->action("mnuRecentFile_1")->trigger();
    frmProgCurva* again = active();
    ASSERT_NE(again, nullptr);
    const auto& points = again->document().curves[1].points;
    EXPECT_TRUE(std::equal(points.begin(), points.begin() + 3, c1.points.begin()));

    // A point added by a click alone is a change, and so is an undo.
    click(again, px(9950 - 50, 10));
    EXPECT_EQ(again->document().curves[1].CurveLastPoint, 3);
    EXPECT_TRUE(again->windowTitle().endsWith(" *"));
    main->action("mnuSalva")->trigger();
    QTest::mouseClick(button(again, "ComAnnulla"), Qt::LeftButton);
    EXPECT_TRUE(again->windowTitle().endsWith(" *"));

    // A right click beside the graph pops the Edit menu up.
    QTest::mouseClick(again, Qt::RightButton, {}, QPoint(again->width() - 3, again->height() - 3));
    QMenu* edit = main->findChild<QMenu*>("mnuModifica");
    ASSERT_TRUE(edit && edit->isVisible());
    edit->hide();

    // File > Exit with changes asks; Cancel keeps the program and the editor.
    t.notifier.nextAnswer = Notifier::Answer::Cancel;
    main->action("mnuExit")->trigger();
    EXPECT_EQ(t.notifier.questions.size(), 1u);
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(again->isVisible());
}

TEST_F(CurveWindowTest, CtrlZAndCtrlYWalkTheGraphsHistoryAndTheMarkFollowsIt) {
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    frmProgCurva* w = newCurve();
    const auto keys = [w](Qt::Key key, int times) {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(w, key, Qt::ControlModifier);
    };
    const auto lastPoint = [w] { return w->document().curves[1].CurveLastPoint; };
    choose(w, "1");
    drag(w, px(3000, 30), px(5000, 30));
    main->action("mnuSalva")->trigger();
    EXPECT_FALSE(main->action("mnuRipeti")->isEnabled());

    // Three edits: a click, a press-drag-release (two points, one step), CANCELLA.
    click(w, px(6000, 25));
    drag(w, px(7000, 20), px(8000, 15));
    ASSERT_EQ(lastPoint(), 4);
    QTest::mouseClick(button(w, "ComCancella"), Qt::LeftButton);
    EXPECT_EQ(lastPoint(), 0);

    for (int expected : {4, 2, 1}) {
        keys(Qt::Key_Z, 1);
        EXPECT_EQ(lastPoint(), expected);
    }
    EXPECT_FALSE(w->windowTitle().endsWith(" *")); // back at the saved step
    EXPECT_TRUE(main->action("mnuRipeti")->isEnabled());

    keys(Qt::Key_Y, 3);
    EXPECT_EQ(lastPoint(), 0);
    EXPECT_TRUE(w->windowTitle().endsWith(" *"));
    EXPECT_FALSE(main->action("mnuRipeti")->isEnabled());
    // The history reaches back past the save to the first drag.
    keys(Qt::Key_Z, 4);
    EXPECT_EQ(lastPoint(), 0);
    EXPECT_TRUE(w->windowTitle().endsWith(" *"));

    // A click that only brings a background editor forward adds no point.
    ASSERT_NE(newCurve(), w);
    click(w, px(3000, 30));
    EXPECT_EQ(active(), w);
    EXPECT_EQ(w->document().curves[1].points[0], Point{});
}

// A silent unit, then curve 1 written and verified, then PROG OFF in the middle of a transfer.
TEST_F(CurveWindowTest, CurveOneIntoMdxWithProgressAndVerification) {
    frmProgCurva* w = newCurve();
    drawCurveOne(w);
    // An unanswered PROG ON gives up after a second (13 ticks of 80 ms after the first).
    link.unit.setFaults({.silent = true});
    programmingOn(w);
    for (int i = 0; i < 13; ++i)
        pump();
    EXPECT_EQ(lastWarning(), "Nessuna risposta dalla centralina");
    EXPECT_EQ(button(w, "ComProg")->text(), "PROG ON");
    link.unit.setFaults({});
    programmingOn(w);

    QTest::mouseClick(button(w, "ComProgMaster"), Qt::LeftButton);
    for (int i = 0; i < 3; ++i) { // the progress window, 5, the first entry
        w->TimerProg_Timer();
        pump();
    }
    auto* bar = main->findChild<frmProgressBar*>();
    ASSERT_TRUE(bar && progressOpen());
    EXPECT_EQ(bar->LabFase->text(), "Scrittura curva 1 in MDX");
    EXPECT_EQ(bar->LabTempo->text(), "0% - mancano 26 s");         // 240 ms for 2 steps, 215 to go
    EXPECT_EQ(main->mdiArea()->activeSubWindow(), w->subWindow()); // the bar takes no focus
    runTransfer(w);
    EXPECT_FALSE(progressOpen());
    EXPECT_EQ(bar->ProgressBar1->value(), 108);
    // 220 ticks of 80 ms: 2 to start, 107 writes, 3 for the flags byte, 1 for the maximum
    // rpm read back, 107 entries read back.
    EXPECT_EQ(get<QLabel>(main, "LabelMessaggio")->text(),
              "Curva 1 scritta in MDX e verificata in 17,6 s");
    EXPECT_EQ(t.notifier.warnings.size(), 1u) << lastWarning();
    const UnitBytes& mdx = link.unit.eeprom().module(UnitModuleId::MDX);
    EXPECT_EQ(mdx[5], 75); // the window's maximum rpm
    EXPECT_EQ(mdx[6 + 67], w->document().curves[1].CurveTable[67]);

    // PROG OFF mid-transfer stops it: 0xD0 goes out before the box says so, and the unit's
    // answer to it does not turn the mode back on.
    QTest::mouseClick(button(w, "ComProgMaster"), Qt::LeftButton);
    for (int i = 0; i < 5; ++i)
        w->TimerProg_Timer();
    size_t sentAtBox = 0;
    t.notifier.onWarning = [&] { sentAtBox = link.sent.size(); };
    programmingOn(w);
    EXPECT_EQ(lastWarning(), "Operazione annullata");
    ASSERT_GT(sentAtBox, 0u);
    EXPECT_EQ(link.sent[sentAtBox - 1], 0xD0u);
    EXPECT_EQ(link.unit.mode(), UnitMode::Run);
    EXPECT_FALSE(progressOpen());
    EXPECT_EQ(button(w, "ComProg")->text(), "PROG ON");
}

// Curve 0 taken from a curve of another file: drawn in black beside the selected curve, and
// never written into the unit, whose tables are curves 1 and 2.
TEST_F(CurveWindowTest, CurveZeroFromAnotherFileIsDrawnAndNeverTransferred) {
    // The other file: curve 1 has 10 degrees at 2,000 rpm rising to 40 at 8,000 (25 at
    // 5,000); curve 2 is drawn too, so the user is asked which.
    CurveDocument other;
    Curve& source = other.curves[1];
    source.points[0] = {1800, 1200};
    source.points[1] = {9000, 4800};
    source.CurveLastPoint = 1;
    BuildCurveTable(source);
    other.curves[2] = source;
    other.curves[2].points[1].y = 0;
    const std::string path = t.path("altra.crva");
    ASSERT_TRUE(writeFileAtomically(path, serializeCrva(other)).empty());

    frmProgCurva* w = newCurve();
    drawCurveOne(w); // 30 degrees at 5,000 rpm
    choose(w, "2");
    drag(w, px(1000, 5), px(9000, 35)); // 20 degrees at 5,000 rpm
    const Curve one = w->document().curves[1];
    const Curve two = w->document().curves[2];
    main->documents().setChooser(
        [&](const FileDialogRequest&) { return QString::fromStdString(path); });
    QTimer::singleShot(0, w, [w] {
        auto* choice = w->findChild<QInputDialog*>("curve0Choice");
        ASSERT_NE(choice, nullptr);
        EXPECT_EQ(choice->comboBoxItems(), (QStringList{"Curva 1 (2 punti)", "Curva 2 (2 punti)"}));
        choice->setTextValue("Curva 1 (2 punti)");
        choice->accept();
    });
    QTest::mouseClick(button(w, "ComCurva0Da"), Qt::LeftButton);

    const CurveDocument& doc = w->document();
    EXPECT_EQ(doc.curves[0].points, source.points);
    EXPECT_EQ(doc.curves[2].points, two.points);
    EXPECT_EQ(button(w, "ComCrva0")->text(), "CANC 0");
    // Black on the graph where only curve 0 runs.
    const QImage graph = get<QWidget>(w, "Picture1")->grab().toImage();
    bool black = false;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            const QColor c = graph.pixelColor(px(5000, 25) + QPoint(dx, dy));
            black = black || (c.red() < 60 && c.green() < 60 && c.blue() < 60);
        }
    EXPECT_TRUE(black);

    // Both curves into MSX: the unit's tables are curves 1 and 2, nothing of curve 0.
    programmingOn(w);
    choose(w, "12");
    QTest::mouseClick(button(w, "ComProgSlave"), Qt::LeftButton);
    runTransfer(w);
    EXPECT_TRUE(get<QLabel>(main, "LabelMessaggio")
                    ->text()
                    .startsWith("Curve 1 e 2 scritte in MSX e verificate in "));
    EXPECT_TRUE(t.notifier.warnings.empty()) << lastWarning();
    const UnitBytes& m = link.unit.eeprom().module(UnitModuleId::MSX);
    EXPECT_TRUE(
        std::equal(one.CurveTable.begin(), one.CurveTable.begin() + StoredEntries, m.begin() + 6));
    EXPECT_TRUE(std::equal(two.CurveTable.begin(), two.CurveTable.begin() + StoredEntries,
                           m.begin() + 113));
}
