#include "measure_fixture.h"
#include "support/MrotFiles.h"

TEST_F(MeasureWindowTest, NotesOpenOnceTypedTextIsSavedAndANewMeasurementEmptiesThem) {
    auto* advance = openFromMenu<frmMisAnt>("mnuMisAnt");
    const auto openNotes = [&] {
        click(advance, "ComNote");
        return main->findChild<frmMisRotNote*>();
    };
    const auto notesText = [](frmMisRotNote* n) {
        return get<QPlainTextEdit>(n, "Text1")->toPlainText();
    };
    const auto closeNotes = [](frmMisRotNote* n) {
        n->subWindow()->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    t.measurement.Notes = "Banco 2\r\nsecondo giro";
    int edits = 0;
    t.measurement.rotationNotesEdited = [&edits] { ++edits; };
    frmMisRotNote* notes = openNotes();
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(notesText(notes), "Banco 2\nsecondo giro");
    EXPECT_EQ(edits, 0);                                 // filling the text on load is no edit
    EXPECT_FALSE(main->action("mnuSalva")->isEnabled()); // saved from the measurement
    EXPECT_EQ(openNotes(), notes); // a second ComNote brings the same window forward
    EXPECT_EQ(main->findChildren<frmMisRotNote*>().size(), 1);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "!");
    EXPECT_GE(edits, 1);
    // While open, a save takes the editor's text.
    const std::string file = t.path("open.mrot");
    answerDialogs(file);
    main->mdiArea()->setActiveSubWindow(advance->subWindow());
    click(advance, "ComSalva");
    EXPECT_EQ(loadMrot(file)->notes, "Banco 2\r\nsecondo giro!");
    closeNotes(notes);
    EXPECT_EQ(t.measurement.Notes, "Banco 2\r\nsecondo giro!");
    EXPECT_FALSE(t.measurement.notesEditor);
    t.measurement.rotationNotesEdited = nullptr;

    // Still open, the notes keep their text until the window opens after a new measurement.
    notes = openNotes();
    click(advance, "ComNuovaMisura");
    EXPECT_EQ(notesText(notes), "Banco 2\nsecondo giro!");
    closeNotes(notes);
    notes = openNotes();
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(notesText(notes), "");
    EXPECT_FALSE(t.measurement.NewMeasurement);
    closeNotes(notes);
    EXPECT_EQ(t.measurement.Notes, "");
}
