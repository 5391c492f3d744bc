#include "protocol/ui/SilenceLabel.h"
#include "rotation_fixture.h"

// At 3,000 rpm a revolution takes 20 ms: every row shows "3,000" and "20.000", and row n
// ends 20 x n ms into the measurement.
namespace {
QString rowStart(int n) {
    return QString("%1  3,000    20.000 ").arg(n, 6);
}
QString tempoOf(const QString& row) {
    return row.mid(82, 13);
}
} // namespace

TEST_F(RotationWindowTest, RecordsFromStartToStopAsAUserDrivesIt) {
    ASSERT_NE(openFromMenu(), nullptr);
    EXPECT_TRUE(w->windowTitle().startsWith("Misura Rotazione: Misura-"));
    for (const char* entry : {"mnuMisRot", "mnuPannelloControllo", "mnuMisBatteria"})
        EXPECT_FALSE(entryEnabled(entry)) << entry;
    EXPECT_EQ(targets.rotation, w);
    type(Qt::Key_Space); // the keys reach the window at once; Space does nothing at "Start"
    EXPECT_FALSE(link.inputStarted());

    t.clock.ClockSec = 12;
    t.clock.ClockMs = 3;
    t.clock.TickCounter = 777;
    click("ComStop");
    EXPECT_TRUE(w->windowTitle().endsWith(".mrot*"));
    EXPECT_TRUE(link.inputStarted());
    // The clock fields start again; the tick counter runs on.
    EXPECT_EQ(t.clock.ClockSec * 1000 + t.clock.ClockMs, 0);
    EXPECT_EQ(t.clock.TickCounter, 777);

    run(1000);
    settle();
    const QStringList live = liveLines();
    ASSERT_EQ(live.size(), 50);
    EXPECT_TRUE(live.front().startsWith(rowStart(50))); // newest first
    EXPECT_EQ(label("LabTmpMis"), "00:01:000,000");

    click("ComStop");
    EXPECT_FALSE(link.inputStarted());
    ASSERT_EQ(listRows().size(), 50);
    EXPECT_EQ(tempoOf(listRows()[0]), "00:00:020,000");
    EXPECT_TRUE(entryEnabled("mnuPannelloControllo"));

    // Clicking a row shows its number and time; the graph starts there.
    auto* list = get<QAbstractItemView>("List1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(2, 0)).center());
    EXPECT_EQ(label("LabContRighe"), "3");
    EXPECT_EQ(label("LabTmpMis"), "00:00:060,000");
    click("ComDatiGrafico");
    EXPECT_EQ(scroll("HScrollTempoMem")->value(), 3);
    click("ComDatiGrafico");

    // Start again continues the measurement: numbers and time go on.
    record(100);
    ASSERT_EQ(listRows().size(), 55);
    EXPECT_TRUE(listRows()[54].startsWith(rowStart(55)));
    EXPECT_EQ(tempoOf(listRows()[54]), "00:01:100,000");
}

TEST_F(RotationWindowTest, KeyMapSuspendLiveDisplayAndNewMeasurement) {
    openFromMenu();
    click("ComStop");
    run(200);
    type(Qt::Key_P); // suspend: the unit keeps sending, nothing is recorded
    EXPECT_FALSE(unitLink.expecting(RotationWindow));
    EXPECT_TRUE(port.MIDIInStarted);
    run(200);
    EXPECT_EQ(w->measurement().rows.size(), 10u);
    type(Qt::Key_P);
    run(200);
    // Elapsed time advances only by the revolutions recorded.
    ASSERT_EQ(w->measurement().rows.size(), 20u);
    EXPECT_EQ(tempoOf(QString::fromLatin1(w->measurement().rows.row(19).data(), 95)),
              "00:00:400,000");

    type(Qt::Key_D); // live display off: the list still grows, the live text does not
    settle();
    const qsizetype shown = liveLines().size();
    run(100);
    settle();
    EXPECT_EQ(liveLines().size(), shown);
    EXPECT_EQ(w->measurement().rows.size(), 25u);
    type(Qt::Key_D);

    type(Qt::Key_N); // no new measurement and no save while acquiring; C does nothing
    type(Qt::Key_S);
    type(Qt::Key_C);
    EXPECT_EQ(w->measurement().rows.size(), 25u);
    EXPECT_EQ(caption("ComStop"), "Stop");

    type(Qt::Key_Tab); // other keys keep their meaning: Tab moves on to the next button
    EXPECT_EQ(QApplication::focusWidget(), get<QPushButton>("ComSospendi"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    type(Qt::Key_Space); // Space stops
    EXPECT_EQ(caption("ComStop"), "Start");
    type(Qt::Key_N);
    EXPECT_EQ(listRows().size(), 0);
    EXPECT_EQ(label("LabTmpMis"), "00:00:00,000");
    EXPECT_FALSE(w->windowTitle().endsWith("*"));
    EXPECT_TRUE(t.measurement.NewMeasurement);
    record(20);
    ASSERT_EQ(listRows().size(), 1);
    EXPECT_TRUE(listRows()[0].startsWith(rowStart(1))); // numbering and time from 0 again
    EXPECT_EQ(tempoOf(listRows()[0]), "00:00:020,000");

    type(Qt::Key_O); // O opens the notes of the measurement
    EXPECT_NE(main->findChild<frmMisRotNote*>(), nullptr);
}

TEST_F(RotationWindowTest, SavesReopensAndAsksBeforeThrowingRowsAway) {
    openFromMenu();
    record(100);
    t.measurement.Notes = std::string(4 * kMrotNotesLimit, 'n'); // far more than is read
    // A new measurement is saved under its name in the start folder, without a question.
    type(Qt::Key_S);
    const std::string first = t.path(w->measurement().path.substr(t.path("").size()));
    EXPECT_EQ(w->windowTitle().toStdString(), "Misura Rotazione: " + first);
    EXPECT_EQ(readWholeFile(first)->substr(97, first.size()), first);

    // Save As to a path the user chooses; then the window is closed without a question.
    const std::string path = t.path("run.mrot");
    answerDialogs(path);
    main->action("mnuSalvaAs")->trigger();
    EXPECT_EQ(readWholeFile(path)->substr(97, path.size()), path); // where it was written
    main->action("mnuChiudi")->trigger();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(t.notifier.questions.empty());
    ASSERT_EQ(main->findChild<frmMisRot*>(), nullptr);

    // File, Open measurement: every row and the notes come back.
    t.measurement.Notes.clear();
    main->action("mnuApriMrot")->trigger();
    w = main->findChild<frmMisRot*>();
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(listRows().size(), 5);
    EXPECT_EQ(w->windowTitle(), "Misura Rotazione: run.mrot");
    // The notes keep their beginning, and the user is told which file it was.
    EXPECT_EQ(t.measurement.Notes, std::string(kMrotNotesLimit, 'n'));
    ASSERT_EQ(t.notifier.warnings.size(), 1u);
    EXPECT_EQ(t.notifier.warnings[0].text,
              "Le note del file " + path +
                  " superano i 256 KB: ne \u00e8 stata letta solo la prima parte. Le righe "
                  "della misura sono state caricate tutte.");

    // More rows, not saved: closing asks; Yes saves and closes.
    record(40);
    ASSERT_EQ(listRows().size(), 7);
    t.notifier.nextAnswer = Notifier::Answer::Yes;
    main->action("mnuChiudi")->trigger();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(main->findChild<frmMisRot*>(), nullptr);
    EXPECT_EQ(parseMrot(readWholeFile(path).value_or(""))->rows.size(), 7u);
    EXPECT_EQ(targets.rotation, nullptr);
    EXPECT_FALSE(port.MIDIInStarted);
    EXPECT_TRUE(entryEnabled("mnuMisRot"));
}

// A unit that sends nothing after Start is said in words in both measurement windows within
// 4 s, and the words go with the first row; a pause is no silence. Closed while recording,
// the rotation window keeps the last rows and stops the advance window.
TEST_F(RotationWindowTest, ASilentUnitIsNoticedInBothWindowsAndClosingStopsBoth) {
    openFromMenu();
    click("ComAnticipo");
    auto* advance = main->findChild<frmMisAnt*>();
    ASSERT_NE(advance, nullptr);
    const std::vector<SilenceLabel*> notices = {get<SilenceLabel>("LabNessunDato"),
                                                advance->findChild<SilenceLabel*>("LabNessunDato")};
    ASSERT_NE(notices[1], nullptr);
    for (SilenceLabel* notice : notices)
        notice->setMillisecondClock([this] { return unitTime.us / 1000; });
    const auto check = [&](const QString& expected) {
        for (SilenceLabel* notice : notices) {
            notice->check();
            EXPECT_EQ(notice->isHidden() ? QString() : notice->text(), expected);
        }
    };
    link.unit.setFaults({.silent = true});
    click("ComStop");
    run(2900);
    check({}); // not three seconds yet
    run(1100);
    check(QString::fromLatin1("Nessun dato dall'unit\xE0 da 4 s"));

    link.unit.setFaults({});
    run(200);
    ASSERT_GT(w->measurement().rows.size(), 0u);
    check({});
    click("ComSospendi");
    run(4000);
    check({});
    click("ComSospendi");
    click("ComStop");
    run(4000);
    check({});

    click("ComStop");
    const size_t before = advance->rows().size();
    link.pump(100'000); // five revolutions still in the ring when the window closes
    main->mdiArea()->setActiveSubWindow(w->subWindow());
    main->action("mnuChiudi")->trigger();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(main->findChild<frmMisRot*>(), nullptr);
    EXPECT_EQ(t.notifier.questions.size(), 1u); // the rows were not saved
    EXPECT_FALSE(link.inputStarted());
    EXPECT_EQ(MeasureWindowTest::caption(advance, "ComStop"), "Start");
    EXPECT_EQ(advance->rows().size(), before + 5);
}
