#include "measure/ui/frmMisAntPicture.h"
#include "measure_fixture.h"

namespace {

class AdvanceWindowTest : public MeasureWindowTest {
protected:
    AdvanceWindowTest() { link.unit.setEngine({.profile = SpeedProfile::Fixed, .fixedRpm = 3000}); }

    frmMisAnt* open() { return w = openFromMenu<frmMisAnt>("mnuMisAnt"); }
    QStringList rows(const char* list) const { return MeasureWindowTest::rows(w, list); }
    QString liveText() { return get<QPlainTextEdit>(w, "Text1")->toPlainText(); }
    QScrollBar* bar(const char* name) { return get<QScrollBar>(w, name); }

    frmMisAnt* w = nullptr;
};

} // namespace

TEST_F(AdvanceWindowTest, StartRecordsEveryRevolutionAsAdvanceRowsStopShowsThemNewMeasurementAsks) {
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(targets.advance, w);
    EXPECT_TRUE(w->windowTitle().startsWith("Misura Anticipo Fase: Misura-"));
    EXPECT_EQ(text(w, "LabTmpMis"), "00:00:000.000");
    click(w, "ComStop");
    EXPECT_TRUE(link.inputStarted());
    run(1000); // 3000 rpm: 50 revolutions
    click(w, "ComStop");
    EXPECT_FALSE(link.inputStarted());

    // Each rotation row (List2) has its advance row (List1): the same number, speed and time.
    const QStringList advance = rows("List1");
    const QStringList rotation = rows("List2");
    ASSERT_GE(advance.size(), 48);
    ASSERT_EQ(advance.size(), rotation.size());
    EXPECT_EQ(advance.size(), decoder.RowCounter);
    EXPECT_EQ(advance.last().left(13), rotation.last().left(13));
    EXPECT_EQ(advance.last().mid(37, 13), rotation.last().mid(82, 13));
    EXPECT_TRUE(w->windowTitle().endsWith('*'));

    // The rows not saved are asked about: Cancel keeps them, No lets them go.
    t.notifier.nextAnswer = Notifier::Answer::Cancel;
    click(w, "ComNuovaMisura");
    ASSERT_EQ(t.notifier.questions.size(), 1u);
    EXPECT_FALSE(rows("List1").isEmpty());
    t.notifier.nextAnswer = Notifier::Answer::No;
    click(w, "ComNuovaMisura");
    EXPECT_EQ(t.notifier.questions.size(), 2u);
    EXPECT_TRUE(rows("List1").isEmpty() && rows("List2").isEmpty());
    EXPECT_TRUE(liveText().isEmpty());
    // The next revolutions are numbered from 1 again; with the live display off they go to
    // the table, not to the text.
    click(w, "ComAttiva");
    record(w, 100);
    ASSERT_FALSE(rows("List1").isEmpty());
    EXPECT_EQ(rows("List1").first().left(6), "     1");
    EXPECT_TRUE(liveText().isEmpty());
}

TEST_F(AdvanceWindowTest, SavedFileReopensExportsToCsvAndTheDiagramLimitsAreKept) {
    ASSERT_NE(open(), nullptr);
    record(w, 600);
    const QStringList advance = rows("List1");
    const QStringList rotation = rows("List2");
    ASSERT_GE(rotation.size(), 28);
    t.measurement.Notes = "Giro di prova\r\nMDX curva 1";

    // A new measurement has no folder yet: Save asks where; the file gets "mant".
    FileDialogRequest asked;
    std::string answer = t.path("run");
    main->documents().setChooser([&](const FileDialogRequest& r) {
        asked = r;
        return QString::fromStdString(answer);
    });
    const QString file = QString::fromStdString(t.path("run.mant"));
    click(w, "ComSalva");
    EXPECT_TRUE(asked.save);
    EXPECT_EQ(w->windowTitle(), "Misura Anticipo: " + file);

    // Reopened from the recent list into a new advance window: the same rows and notes.
    w->subWindow()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    t.measurement.Notes.clear();
    ASSERT_TRUE(main->action("mnuRecentFile_1")->isVisible());
    main->action("mnuRecentFile_1")->trigger();
    w = main->findChild<frmMisAnt*>();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(rows("List2"), rotation);
    EXPECT_EQ(rows("List1"), advance);
    EXPECT_EQ(t.measurement.Notes, "Giro di prova\r\nMDX curva 1");
    EXPECT_EQ(w->windowTitle(), "Misura Anticipo Fase: run.mant");

    // CSV named after the document, in the language's convention: a header and a line a row.
    answer = t.path("run.csv");
    click(w, "ComEsporta");
    EXPECT_EQ(asked.proposedName, "run.csv");
    const QStringList lines = QString::fromStdString(readWholeFile(answer).value_or(""))
                                  .split("\r\n", Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), rotation.size() + 1);

    // The diagram's scale labels follow its bars, and the limits are kept for next time.
    click(w, "ComDatiGrafico");
    EXPECT_TRUE(get<frmMisAntPicture>(w, "Picture1")->isVisible());
    bar("HScroll2")->setValue(5); // the axis starts at 5,000 rpm
    EXPECT_EQ(text(w, "LabAsc_0"), "5.000");

    w->subWindow()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(bar("HScroll2")->value(), 5);
}
