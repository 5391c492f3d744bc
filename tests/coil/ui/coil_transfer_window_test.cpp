#include "auxiliary/ui/frmProgressBar.h"
#include "coil_fixture.h"
#include "panel/ui/frmPannelloControllo.h"
#include <vector>

using namespace auxiliary;
using namespace panel;

// A program with band 4000-5000 at 8,5 ms (index 3) and L 20,0 mH (200, above 127) written into the
// unit while the control panel holds EEPROM access; the buttons follow that access.
TEST_F(CoilWindowTest, ProgramWrittenAndReadBackWhileThePanelHoldsEepromAccess) {
    frmProgTempoBobina* w = newCoil();
    chooseDwell(w, 2, 3);
    type(w, "TextL", "20,0");
    EXPECT_FALSE(progButton(w, 1)->isEnabled());
    auto* panel = openFromMenu<frmPannelloControllo>("mnuPannelloControllo");
    QTest::mouseClick(get<QPushButton>(panel, "ComEEPROM"), Qt::LeftButton);
    pump(1000);
    main->mdiArea()->setActiveSubWindow(w->subWindow());
    ASSERT_TRUE(progButton(w, 1)->isEnabled() && progButton(w, 2)->isEnabled());
    // Timer1's 100 ms ticks, the unit answering between them, until the transfer ends.
    const auto run = [&] {
        int ticks = 0;
        for (; w->transferRunning() && ticks < 40; ++ticks) {
            w->Timer1_Timer();
            pump(100'000);
        }
        return ticks;
    };
    const auto editingEnabled = [&] {
        return combo(w, 0)->isEnabled() && get<QLineEdit>(w, "TextVR")->isEnabled() &&
               get<QScrollBar>(w, "VScrollL")->isEnabled();
    };

    QTest::mouseClick(progButton(w, 1), Qt::LeftButton);
    EXPECT_FALSE(editingEnabled() || progButton(w, 1)->isEnabled());
    QPointer<frmProgressBar> progress = main->findChild<frmProgressBar*>();
    ASSERT_TRUE(progress && progress->isVisible());
    EXPECT_EQ(progress->LabFase->text(), "Scrittura impulso bobina in MDX");
    // 15 ticks of 100 ms: seven writes, the first read, six more reads.
    EXPECT_EQ(run(), 15);
    EXPECT_TRUE(!progress || !progress->isVisible());
    EXPECT_EQ(get<QLabel>(main.get(), "LabelMessaggio")->text(),
              "Impulso bobina scritto in MDX e verificato in 1,5 s");
    EXPECT_TRUE(t.notifier.warnings.empty());
    const UnitBytes& mdx = link.unit.eeprom().mdx;
    EXPECT_EQ(std::vector<int>(mdx.begin() + 202, mdx.begin() + 209),
              (std::vector<int>{0, 5, 3, 9, 10, 11, 200}));
    EXPECT_TRUE(editingEnabled() && progButton(w, 1)->isEnabled());

    // Seven writes, the first read, then ten ticks of 100 ms without an answer.
    link.unit.setFaults({.silent = true});
    QTest::mouseClick(progButton(w, 1), Qt::LeftButton);
    EXPECT_EQ(run(), 7 + 1 + 10);
    ASSERT_EQ(t.notifier.warnings.size(), 1u);
    EXPECT_EQ(t.notifier.warnings[0].text, "Nessuna risposta dalla centralina");
    link.unit.setFaults({.wrongModuleProbability = 1});
    QTest::mouseClick(progButton(w, 1), Qt::LeftButton);
    run();
    ASSERT_EQ(t.notifier.warnings.size(), 2u);
    EXPECT_EQ(t.notifier.warnings[1].text, "Errore scrittura EEPROM");
    // The slave's button writes the slave.
    link.unit.setFaults({});
    QTest::mouseClick(progButton(w, 2), Qt::LeftButton);
    run();
    EXPECT_EQ(t.notifier.warnings.size(), 2u);
    EXPECT_EQ(link.unit.eeprom().msx[208], 200);

    // The panel leaves EEPROM access while the coil window is not active: the buttons go
    // out at once, and a click sends nothing.
    main->mdiArea()->setActiveSubWindow(panel->subWindow());
    QTest::mouseClick(get<QPushButton>(panel, "ComEEPROM"), Qt::LeftButton);
    EXPECT_FALSE(progButton(w, 1)->isEnabled() || progButton(w, 2)->isEnabled());
    const size_t before = link.sent.size();
    QMetaObject::invokeMethod(progButton(w, 1), "click");
    EXPECT_EQ(link.sent.size(), before);
    EXPECT_FALSE(w->transferRunning());
}
