#include "auxiliary/ui/frmBloccoNote.h"
#include "base/FileStore.h"
#include "support/ui/WorkbenchFixture.h"
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>

using namespace auxiliary;

namespace {

// A frame whose client area holds the notebook's largest size, 800 x 600.
class NotebookTest : public WorkbenchFixture {
protected:
    NotebookTest() : WorkbenchFixture(QSize(1400, 1000)) {}

    frmBloccoNote* open() { return openFromMenu<frmBloccoNote>("mnuBloccoNote"); }
    static QPlainTextEdit* box(QWidget* w) { return w->findChild<QPlainTextEdit*>("Text1"); }
    // Closes the window through its sub-window, as the frame's close box does.
    static bool closeWindow(frmBloccoNote* w) {
        const bool closed = w->subWindow()->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return closed;
    }
    std::string fileBytes() { return readWholeFile(t.app.NotebookPath).value_or("<none>"); }
    QString statusLine() const { return main->findChild<QLabel*>("LabelMessaggio")->text(); }
};

TEST_F(NotebookTest, FirstOpeningTakesDefaultsAndCloseWritesABlankRecordThePlacementAndTheState) {
    t.app.WinRec[38] = {500, 700, 3000, 2000, 0, 0, 0, 0}; // placement stored at last exit
    frmBloccoNote* w = open();
    EXPECT_EQ(w->subWindow()->geometry(), QRect(0, 0, 800, 600)); // 12000 x 9000 twips
    EXPECT_EQ(t.app.WinRec[38].State, 1);
    EXPECT_FALSE(entryEnabled("mnuBloccoNote"));

    w->subWindow()->setGeometry(100, 50, 600, 450);
    ASSERT_TRUE(closeWindow(w));
    EXPECT_EQ(fileBytes(), std::string(32000, ' '));
    EXPECT_TRUE(entryEnabled("mnuBloccoNote"));
    EXPECT_EQ(t.app.WinRec[38].Left, 1500);
    EXPECT_EQ(t.app.WinRec[38].Top, 750);
    EXPECT_EQ(t.app.WinRec[38].State, 0);
    // The next opening restores the placement of the last close.
    w = open();
    EXPECT_EQ(w->subWindow()->geometry(), QRect(100, 50, 600, 450));

    // Closed as the program closes: the state says open, or minimised.
    t.app.Closing = true;
    ASSERT_TRUE(closeWindow(w));
    EXPECT_EQ(t.app.WinRec[38].State, 1);
    w = open();
    w->subWindow()->showMinimized();
    ASSERT_TRUE(closeWindow(w));
    EXPECT_EQ(t.app.WinRec[38].State, 2);
}

TEST_F(NotebookTest, DraggedLargerThanTheMaximaSnapsBackAndRightClickPopsUpTheEditMenu) {
    frmBloccoNote* w = open();
    w->subWindow()->resize(900, 700);
    EXPECT_EQ(w->subWindow()->size(), QSize(800, 600));
    w->subWindow()->resize(500, 700);
    EXPECT_EQ(w->subWindow()->size(), QSize(500, 600));
    QTest::mouseClick(w, Qt::RightButton, {}, QPoint(20, 0));
    EXPECT_TRUE(main->findChild<QMenu*>("mnuModifica")->isVisible());
}

TEST_F(NotebookTest, TypedTextIsSavedAsLatin1WithCrLfAndReloaded) {
    frmBloccoNote* w = open();
    box(w)->setFocus();
    QTest::keyClicks(box(w), "Ciao");
    QTest::keyClick(box(w), Qt::Key_Return);
    QTest::keyClicks(box(w), "caff");
    QTest::sendKeyEvent(QTest::Click, box(w), Qt::Key_Egrave, QString::fromUtf8("è"), {});
    // A character the 8-bit file has no code for is refused with a word, not kept as "?".
    QTest::sendKeyEvent(QTest::Click, box(w), Qt::Key_unknown, QString::fromUtf8("€"), {});
    EXPECT_EQ(statusLine(), QString::fromUtf8("Non inserito: € (il blocco note conserva solo "
                                              "caratteri Latin-1, un byte ciascuno)"));
    QApplication::clipboard()->setText(QString::fromUtf8("  ≈"));
    QTest::keySequence(box(w), QKeySequence::Paste);
    EXPECT_TRUE(statusLine().startsWith(QString::fromUtf8("Non inserito: ≈ ")));
    ASSERT_TRUE(closeWindow(w));

    EXPECT_EQ(fileBytes(), "Ciao\r\ncaff\xE8  " + std::string(31987, ' ')); // 32000 bytes

    w = open(); // trailing blanks are gone on the next load
    EXPECT_EQ(box(w)->toPlainText(), QString::fromUtf8("Ciao\ncaffè"));
}

TEST_F(NotebookTest, TextLongerThan32000CannotBeEntered) {
    ASSERT_EQ(writeFileAtomically(t.app.NotebookPath, std::string(31998, 'a')), "");
    frmBloccoNote* w = open();
    box(w)->setFocus();
    box(w)->moveCursor(QTextCursor::End);
    QTest::keyClicks(box(w), "xyz");
    QTest::keyClick(box(w), Qt::Key_Return); // a line end needs two more characters
    EXPECT_EQ(box(w)->toPlainText().size(), 32000);
    EXPECT_TRUE(box(w)->toPlainText().endsWith("xy"));

    // Pasted text is cut to what fits, its CR LF counted as one line end of two characters.
    QApplication::clipboard()->setText("1\r\n234");
    for (int i = 0; i < 3; ++i) // 31997 characters, room for 3
        QTest::keyClick(box(w), Qt::Key_Backspace);
    QTest::keySequence(box(w), QKeySequence::Paste);
    EXPECT_TRUE(box(w)->toPlainText().endsWith("a1\n"));
    ASSERT_TRUE(closeWindow(w));
    EXPECT_EQ(fileBytes().substr(31996, 4), "a1\r\n");
}

TEST_F(NotebookTest, FailedSaveKeepsTheWindowAndItsText) {
    t.app.NotebookPath = t.path("missing-folder") + kPathSeparator + "Notebook.txt";
    frmBloccoNote* w = open();
    QTest::keyClicks(box(w), "keep me");
    EXPECT_FALSE(closeWindow(w));
    ASSERT_EQ(t.notifier.warnings.size(), 1u);
    // The box names the file and the system's reason.
    EXPECT_EQ(t.notifier.warnings[0].text, "Errore di scrittura su disco: " + t.app.NotebookPath +
                                               " (No such file or directory)");
    EXPECT_EQ(box(w)->toPlainText(), "keep me");

    // While the program closes the window goes, after the same report.
    t.app.Closing = true;
    EXPECT_TRUE(closeWindow(w));
    EXPECT_EQ(t.notifier.warnings.size(), 2u);
}

TEST_F(NotebookTest, AfterAReadErrorTheTextIsReadOnlyUntilTheFileCanBeRead) {
    // Larger than any notebook: refused by its size, as a file that cannot be read.
    const std::string big(frmBloccoNote::MaxFileSize + 1, 'x');
    ASSERT_EQ(writeFileAtomically(t.app.NotebookPath, big), "");
    frmBloccoNote* w = open();
    ASSERT_EQ(t.notifier.warnings.size(), 1u);
    EXPECT_EQ(t.notifier.warnings[0].text,
              "Errore di lettura da disco: " + t.app.NotebookPath + " (1048577 bytes)");
    EXPECT_TRUE(box(w)->isReadOnly());
    // Typing after the error box changes nothing, and closing does not write.
    QTest::keyClicks(box(w), "typed");
    EXPECT_EQ(box(w)->toPlainText(), "");
    QTest::keyClick(box(w), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box(w)->toPlainText(), "");
    EXPECT_TRUE(closeWindow(w));
    EXPECT_EQ(fileBytes(), big);

    // Opened again: still unreadable, still read-only; once the file is put right, clicking
    // into the text reads it.
    w = open();
    EXPECT_TRUE(box(w)->isReadOnly());
    ASSERT_EQ(writeFileAtomically(t.app.NotebookPath, "ok\r\n"), "");
    QApplication::setActiveWindow(w->window());
    box(w)->clearFocus(); // the user was elsewhere meanwhile
    QTest::mouseClick(box(w)->viewport(), Qt::LeftButton);
    EXPECT_FALSE(box(w)->isReadOnly());
    EXPECT_EQ(box(w)->toPlainText(), "ok\n");
    EXPECT_EQ(t.notifier.warnings.size(), 2u);
}

// Another session holds the start folder: its notebook is shown but not taken over.
TEST_F(NotebookTest, WhileAnotherSessionHoldsTheFolderTheNotebookIsReadOnly) {
    ASSERT_EQ(writeFileAtomically(t.app.NotebookPath, "theirs\r\n"), "");
    t.app.FolderShared = true;
    frmBloccoNote* w = open();
    EXPECT_TRUE(t.notifier.warnings.empty());
    EXPECT_EQ(box(w)->toPlainText(), "theirs\n");
    EXPECT_TRUE(box(w)->isReadOnly());
    EXPECT_TRUE(closeWindow(w));
    EXPECT_EQ(fileBytes(), "theirs\r\n");
}

} // namespace
