#include "auxiliary/ui/frmAbout.h"
#include "auxiliary/ui/frmAvviso3.h"
#include "auxiliary/ui/frmBloccoNote.h"
#include "auxiliary/ui/frmProgressBar.h"
#include "support/ui/WorkbenchFixture.h"
#include <QLabel>
#include <QPushButton>

using namespace auxiliary;

namespace {

using AuxiliaryWindows = WorkbenchFixture;

TEST_F(AuxiliaryWindows, AboutBoxOpensCentredWhileItsEntryIsDisabledAndOkUnloadsIt) {
    frmAbout* w = openFromMenu<frmAbout>("mnuInfo");
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(entryEnabled("mnuInfo"));
    EXPECT_EQ(t.app.WinRec[40].State, 1);
    EXPECT_EQ(t.app.ChildCount, 1);
    // 5400 x 2700 twips, 360 x 180 pixels, in the middle of the frame's client area.
    const QSize area = main->mdiArea()->viewport()->size();
    EXPECT_EQ(w->subWindow()->geometry(),
              QRect((area.width() - 360) / 2, (area.height() - 180) / 2, 360, 180));

    QTest::mouseClick(w->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(entryEnabled("mnuInfo"));
    EXPECT_EQ(t.app.WinRec[40].State, 0);
    EXPECT_EQ(t.app.ChildCount, 0);
}

TEST_F(AuxiliaryWindows, ProgressWindowIsCentredOverTheActiveChildAndTakesItsNumber) {
    frmBloccoNote* note = openFromMenu<frmBloccoNote>("mnuBloccoNote");
    ASSERT_NE(note, nullptr);
    // 601 x 451 pixels at (100, 50): 9015 x 6765 twips at Left 1500, Top 750.
    note->subWindow()->setGeometry(100, 50, 601, 451);
    main->mdiArea()->setActiveSubWindow(note->subWindow());
    t.app.CurrentWinNo = 0;

    frmProgressBar* p = frmProgressBar::open(ctx);
    EXPECT_EQ(t.app.CurrentWinNo, 38);
    EXPECT_DOUBLE_EQ(p->placement().Top, 3232.5); // 750 + 3382.5 - 900
    EXPECT_DOUBLE_EQ(p->placement().Left, 3607.5);
    EXPECT_EQ(p->subWindow()->size(), QSize(320, 120)); // 4800 x 1800 twips
    EXPECT_EQ(t.app.ChildCount, 1);                     // not a document window
}

TEST(NoticeWindow, OneSharedInstanceClosedByItsButton) {
    QWidget owner;
    frmAvviso3* a = frmAvviso3::showNotice("Errore: MSF 3", &owner);
    frmAvviso3* b = frmAvviso3::showNotice("Errore: MIV 7", &owner);
    EXPECT_EQ(a, b);
    EXPECT_EQ(b->findChild<QLabel*>("Label")->text(), "Errore: MIV 7");
    EXPECT_TRUE(b->isVisible());
    QTest::mouseClick(b->findChild<QPushButton*>("CommClose"), Qt::LeftButton);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmAvviso3::instance(), nullptr);
}

} // namespace
