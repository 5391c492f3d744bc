#include "base/FileStore.h"
#include "coil_fixture.h"
#include <QClipboard>

using namespace base;
using namespace panel;
using namespace coil;

TEST_F(CoilWindowTest, NewProgramShowsItsDefaultsAndFigures) {
    frmProgTempoBobina* w = newCoil();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowNumber(), 12);
    EXPECT_EQ(w->windowTitle(), "Programmazione Impulso Bobina - NuovoFile.ibob");
    const int dwell[] = {0, 5, 8, 9, 10, 11};
    for (int band = 0; band < 6; ++band) {
        EXPECT_EQ(combo(w, band)->currentIndex(), dwell[band]) << band;
        EXPECT_EQ(combo(w, band)->count(), 16);
    }
    EXPECT_EQ(text(w, "TextL"), "5,0");
    EXPECT_EQ(text(w, "TextR"), "3,0");
    EXPECT_EQ(text(w, "TextRPerc"), "20");
    EXPECT_EQ(text(w, "TextVB"), "12,0");
    EXPECT_EQ(text(w, "TextVR"), "1000");
    const struct {
        const char* name;
        int value, min, max, large;
    } scrolls[] = {{"VScrollL", 50, 1, 255, 10},
                   {"VScrollR", 30, 1, 255, 10},
                   {"VScrollRPerc", 20, 0, 100, 30},
                   {"VScrollVB", 120, 0, 150, 10},
                   {"VScrollVR", 1000, 1, 8000, 100}};
    for (const auto& s : scrolls) {
        QScrollBar* bar = get<QScrollBar>(w, s.name);
        EXPECT_EQ(bar->value(), s.value) << s.name;
        EXPECT_EQ(bar->minimum(), s.min) << s.name;
        EXPECT_EQ(bar->maximum(), s.max) << s.name;
        EXPECT_EQ(bar->pageStep(), s.large) << s.name;
    }
    // 1000 rpm with the default coil: T = 60 ms, TB = 10 ms, R_t = 3.6 Ohm, I_f = 3.333 A.
    EXPECT_EQ(text(w, "LabVRT"), "1.000 giri/min  60,000 ms");
    EXPECT_EQ(text(w, "LabIbob"), "I=3,33 A");
    EXPECT_EQ(text(w, "LabTempoBobina"), "TB=10,0 ms");
    EXPECT_EQ(text(w, "LabL"), "L (mH)");
    EXPECT_EQ(text(w, "LabVR"), "VR (g/m)");
    // Both labels of the curve's end sit inside the picture, at its right.
    auto* picture = get<QWidget>(w, "Picture1");
    auto* ibob = get<QLabel>(w, "LabIbob");
    EXPECT_EQ(ibob->parentWidget(), picture);
    EXPECT_GT(ibob->x(), picture->width() / 2);
    EXPECT_LE(ibob->x() + ibob->width(), picture->width());
    EXPECT_TRUE(entryEnabled("mnuSalvaAs"));
}

TEST_F(CoilWindowTest, SpeedPicksTheBandAndRecalculatesAtOnce) {
    frmProgTempoBobina* w = newCoil();
    chooseDwell(w, 0, 2); // 2000-3000: 9,0 ms
    settle(w);
    type(w, "TextVR", "3000"); // on the limit: the lower band
    EXPECT_EQ(text(w, "LabTempoBobina"), "TB=9,0 ms");
    EXPECT_EQ(text(w, "LabVRT"), "3.000 giri/min  20,000 ms");
    EXPECT_EQ(get<QScrollBar>(w, "VScrollVR")->value(), 3000);
    EXPECT_EQ(w->document().VR(), 3000);
    type(w, "TextVR", "1999");
    EXPECT_EQ(text(w, "LabTempoBobina"), "TB=10,0 ms");
    type(w, "TextVR", "8000"); // the last band, default 4,5 ms
    EXPECT_EQ(text(w, "LabTempoBobina"), "TB=4,5 ms");

    // A speed of 0 typed over the whole text is refused; an emptied box changes nothing and
    // is refilled when the user leaves it.
    type(w, "TextVR", "800");
    type(w, "TextVR", "0");
    EXPECT_EQ(text(w, "TextVR"), "800");
    QTest::keyClick(get<QLineEdit>(w, "TextVR"), Qt::Key_Backspace);
    EXPECT_EQ(text(w, "TextVR"), "");
    EXPECT_EQ(w->document().VR(), 800);
    EXPECT_EQ(text(w, "LabVRT"), "800 giri/min  75,000 ms");
    QTest::keyClick(get<QLineEdit>(w, "TextVR"), Qt::Key_Tab);
    EXPECT_EQ(text(w, "TextVR"), "800");
}

TEST_F(CoilWindowTest, CoilDataFollowTheirTypingRulesAndFeedTheSettings) {
    frmProgTempoBobina* w = newCoil();
    type(w, "TextL", "7.25");
    EXPECT_EQ(text(w, "TextL"), "7,2");
    EXPECT_EQ(w->document().L(), 72);
    EXPECT_EQ(get<QScrollBar>(w, "VScrollL")->value(), 72);
    EXPECT_FLOAT_EQ(t.app.CoilL, 72);
    // Pasted text is held to the same rules.
    QLineEdit* textR = get<QLineEdit>(w, "TextR");
    QApplication::clipboard()->setText("2.5");
    textR->selectAll();
    textR->paste();
    EXPECT_EQ(textR->text(), "2,5");
    EXPECT_EQ(w->document().R(), 25);
    QApplication::clipboard()->setText("300");
    textR->selectAll();
    textR->paste();
    EXPECT_EQ(textR->text(), "2,5");
    type(w, "TextR", "2");
    EXPECT_EQ(w->document().R(), 20);
    type(w, "TextRPerc", "100");
    EXPECT_EQ(w->document().RPerc(), 100);
    EXPECT_FLOAT_EQ(t.app.CoilRPlus, 100);
    type(w, "TextVB", "13,8");
    EXPECT_EQ(w->document().VBatt(), 138);
    EXPECT_FLOAT_EQ(t.app.CoilVBatt, 138);
    settle(w);
    // L 7.2 mH, R 2.0 Ohm * 2 = 4.0 Ohm, 13.8 V: I_f = 3.45 A, Emax = 0.5 * 7.2 * 3.45^2.
    EXPECT_EQ(text(w, "LabIMax"), "Imax=3,45 A");
    EXPECT_EQ(text(w, "LabEMax"), "Emax=42,8 mJ");

    // A large step of the scroll bar: +10 tenths, text and settings follow.
    get<QScrollBar>(w, "VScrollR")->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(text(w, "TextR"), "3,0");
    EXPECT_EQ(w->document().R(), 30);
    EXPECT_FLOAT_EQ(t.app.CoilR, 30);

    // None of this is a change that asks to be saved.
    EXPECT_FALSE(w->windowTitle().endsWith('*'));
}

TEST_F(CoilWindowTest, TenWindowsAtMost) {
    for (int i = 0; i < 10; ++i)
        trigger("mnuNuovoIBob");
    EXPECT_EQ(main->mdiArea()->subWindowList().size(), 10);
    EXPECT_EQ(coilWindow()->windowNumber(), 21);
    for (const char* e : {"mnuNuovoIBob", "mnuApriIBob", "mnuProgTempoBobina"})
        EXPECT_FALSE(entryEnabled(e)) << e;

    // Closing the fourth (window 15) without saving frees its number for the next one.
    t.notifier.nextAnswer = Notifier::Answer::No;
    for (QMdiSubWindow* sub : main->mdiArea()->subWindowList())
        if (qobject_cast<frmProgTempoBobina*>(sub->widget())->windowNumber() == 15) sub->close();
    EXPECT_EQ(main->mdiArea()->subWindowList().size(), 9);
    EXPECT_TRUE(entryEnabled("mnuNuovoIBob"));
    trigger("mnuProgTempoBobina");
    EXPECT_EQ(coilWindow()->windowNumber(), 15);
}

TEST_F(CoilWindowTest, OnlyADwellChangeAsksOnClose) {
    frmProgTempoBobina* w = newCoil();
    // A new program counts as changed until it is saved.
    t.notifier.nextAnswer = Notifier::Answer::Cancel;
    trigger("mnuChiudi");
    ASSERT_EQ(t.notifier.questions.size(), 1u);
    EXPECT_EQ(t.notifier.questions[0].title, "File: NuovoFile.ibob");
    EXPECT_EQ(t.notifier.questions[0].text, "Il file è stato modificato\r\nSalvare le modifiche ?");
    EXPECT_TRUE(w->isVisible()); // Cancel keeps it open

    // Yes on a program never saved asks for a name; no name given keeps the window.
    chooseFile("");
    t.notifier.nextAnswer = Notifier::Answer::Yes;
    trigger("mnuChiudi");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(chooserCalls, 1);
    chooseFile(t.path("bobina.ibob"));
    trigger("mnuChiudi");
    EXPECT_TRUE(main->mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(readWholeFile(t.path("bobina.ibob"))->size(), 44u);
    const std::string savedBytes = *readWholeFile(t.path("bobina.ibob"));

    trigger("mnuApriIBob");
    w = coilWindow();
    ASSERT_NE(w, nullptr);
    type(w, "TextL", "6,0");
    get<QScrollBar>(w, "VScrollVB")->triggerAction(QAbstractSlider::SliderPageStepSub);
    type(w, "TextVR", "2500");
    EXPECT_FALSE(w->windowTitle().endsWith('*'));
    t.notifier.questions.clear();
    trigger("mnuChiudi");
    EXPECT_TRUE(t.notifier.questions.empty());
    EXPECT_TRUE(main->mdiArea()->subWindowList().isEmpty());

    trigger("mnuApriIBob");
    w = coilWindow();
    chooseDwell(w, 3, 4);
    EXPECT_EQ(w->windowTitle(), "Programmazione Impulso Bobina - bobina.ibob*");
    chooseDwell(w, 3, 5);
    EXPECT_EQ(w->windowTitle(), "Programmazione Impulso Bobina - bobina.ibob*");
    EXPECT_EQ(w->document().dwell(3), 5);
    t.notifier.nextAnswer = Notifier::Answer::No;
    trigger("mnuChiudi");
    EXPECT_EQ(t.notifier.questions.size(), 1u);
    EXPECT_TRUE(main->mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(*readWholeFile(t.path("bobina.ibob")), savedBytes); // No: the file is as it was
}

TEST_F(CoilWindowTest, ProgrammingButtonsFollowEepromAccess) {
    frmProgTempoBobina* w = newCoil();
    EXPECT_FALSE(progButton(w, 1)->isEnabled());
    EXPECT_FALSE(progButton(w, 2)->isEnabled());
    EXPECT_EQ(progButton(w, 1)->text(), "Programmazione Master");
    EXPECT_EQ(progButton(w, 2)->text(), "Programmazione Slave");
    EXPECT_TRUE(progButton(w, 1)->toolTip().contains("8.200"));

    frmPannelloControllo* panel = openPanelInEepromAccess();
    activate(w);
    EXPECT_TRUE(progButton(w, 1)->isEnabled());
    EXPECT_TRUE(progButton(w, 2)->isEnabled());

    // The panel leaves EEPROM access while the coil window is not active: the unit is back in
    // run mode, the buttons go out at once, and a click sends nothing.
    activate(panel);
    QTest::mouseClick(get<QPushButton>(panel, "ComEEPROM"), Qt::LeftButton);
    EXPECT_FALSE(progButton(w, 1)->isEnabled());
    EXPECT_FALSE(progButton(w, 2)->isEnabled());
    const size_t before = link.sent.size();
    QMetaObject::invokeMethod(progButton(w, 1), "click");
    EXPECT_EQ(link.sent.size(), before);
    EXPECT_FALSE(w->transferRunning());
}
