#include "measure/ui/frmMisAntPicture.h"
#include "measure_fixture.h"

using namespace base;
using namespace unit;
using namespace measure;

namespace {

class AdvanceWindowTest : public MeasureWindowTest {
protected:
    AdvanceWindowTest() { link.unit.setEngine({.profile = SpeedProfile::Fixed, .fixedRpm = 3000}); }

    frmMisAnt* open() {
        w = openFromMenu<frmMisAnt>("mnuMisAnt");
        EXPECT_NE(w, nullptr);
        return w;
    }
    QListView* list(const char* name) { return get<QListView>(w, name); }
    QStringList rows(const char* name) {
        QStringList out;
        QAbstractItemModel* m = list(name)->model();
        for (int i = 0; i < m->rowCount(); ++i)
            out << m->index(i, 0).data().toString();
        return out;
    }
    QString liveText() { return get<QPlainTextEdit>(w, "Text1")->toPlainText(); }
    QScrollBar* bar(const char* name) { return get<QScrollBar>(w, name); }

    frmMisAnt* w = nullptr;
};

} // namespace

TEST_F(AdvanceWindowTest, StartRecordsEveryRevolutionAsAdvanceRowsStopShowsThemNewMeasurementAsks) {
    open();
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
    EXPECT_TRUE(rows("List1").isEmpty());
    EXPECT_TRUE(rows("List2").isEmpty());
    EXPECT_TRUE(liveText().isEmpty());
    click(w, "ComStop"); // the next revolutions are numbered from 1 again
    run(100);
    click(w, "ComStop");
    ASSERT_FALSE(rows("List1").isEmpty());
    EXPECT_EQ(rows("List1").first().left(6), "     1");
}

TEST_F(AdvanceWindowTest, SuspendAndLiveText) {
    link.unit.setEngine({.profile = SpeedProfile::Fixed, .fixedRpm = 9000}); // 150 rows/s
    open();
    click(w, "ComStop");
    run(500);
    click(w, "ComSospendi");
    const qsizetype before = w->rows().size();
    run(500);
    EXPECT_EQ(w->rows().size(), before);
    click(w, "ComSospendi");
    run(2000);
    click(w, "ComStop");

    const QStringList advance = rows("List1");
    ASSERT_GT(advance.size(), 300);
    ASSERT_LT(advance.size(), 600);
    EXPECT_EQ(liveText().split('\n', Qt::SkipEmptyParts).first(), advance.last());

    // Live display off: rows still go to the table, not to the text.
    click(w, "ComAttiva");
    click(w, "ComStop");
    run(200);
    click(w, "ComStop");
    EXPECT_GT(rows("List1").size(), advance.size());
    EXPECT_EQ(liveText().split('\n', Qt::SkipEmptyParts).first(), advance.last());
}

TEST_F(AdvanceWindowTest, SavedFileReopensWithEveryRowAndNoteAndExportsToCsv) {
    open();
    click(w, "ComStop");
    run(600);
    click(w, "ComStop");
    const QStringList advance = rows("List1");
    const QStringList rotation = rows("List2");
    ASSERT_GE(rotation.size(), 28);
    t.measurement.Notes = "Giro di prova\r\nMDX curva 1";

    // A new measurement has no folder yet: Save asks where, proposing "mant".
    FileDialogRequest asked;
    main->documents().setChooser([&](const FileDialogRequest& r) {
        asked = r;
        return QString::fromStdString(t.path("run"));
    });
    const QString file = QString::fromStdString(t.path("run.mant"));
    click(w, "ComSalva");
    EXPECT_TRUE(asked.save);
    EXPECT_EQ(asked.defaultSuffix, "mant");
    EXPECT_EQ(asked.selectedFilter, "Misura Anticipo (*.mant *.mrot)");
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
    const std::string csvFile = t.path("run.csv");
    main->documents().setChooser([&](const FileDialogRequest& r) {
        asked = r;
        return QString::fromStdString(csvFile);
    });
    click(w, "ComEsporta");
    EXPECT_EQ(asked.proposedName, "run.csv");
    const QStringList lines = QString::fromStdString(readWholeFile(csvFile).value_or(""))
                                  .split("\r\n", Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), rotation.size() + 1);
}

TEST_F(AdvanceWindowTest, DiagramScaleLabelsAndPointsFollowTheScrollBars) {
    open();
    click(w, "ComDatiGrafico");
    auto* picture = get<frmMisAntPicture>(w, "Picture1");
    EXPECT_TRUE(picture->isVisible());

    click(w, "ComStop");
    run(400);
    click(w, "ComStop");
    const QString first = rows("List1").first();
    // Speed 0-10 thousand rpm over 8,800 twips (880 a thousand), advance 0-50 degrees over
    // 6,000 twips (1,200 per ten degrees); 15 twips a pixel.
    const int rpm = first.mid(7, 6).remove(',').trimmed().toInt();
    const int tenths = first.mid(14, 3).trimmed().toInt() * 10 + first.mid(18, 1).toInt();
    const int x = 500 + rpm * 880 / 1000;
    const int y = 6200 - tenths * 1200 / 100;
    EXPECT_EQ(picture->image().pixelColor(qRound(x / 15.0), qRound(y / 15.0)), QColor(Qt::black));

    bar("HScroll1")->setValue(5);
    bar("HScroll2")->setValue(5); // equal limits: the axis starts at 5, the scale stays
    EXPECT_EQ(text(w, "LabAsc_0"), "5.000");
    bar("HScroll2")->setValue(0);

    // The limits are kept for the next opening.
    t.notifier.nextAnswer = Notifier::Answer::No;
    w->subWindow()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    open();
    EXPECT_EQ(bar("HScroll1")->value(), 5);
    EXPECT_EQ(bar("HScroll2")->value(), 0);
    bar("HScroll1")->setValue(10);
}
