#include "auxiliary/ui/frmProgressBar.h"
#include "coil_fixture.h"
#include "unit/EngineModel.h"
#include <array>

using namespace auxiliary;
using namespace unit;
using namespace panel;
using namespace coil;

namespace {
class CoilTransferWindowTest : public CoilWindowTest {
protected:
    // A program with band 4000-5000 at 8,5 ms and L 20,0 mH (200, above 127), in the
    // editor, with the panel in EEPROM access and the editor active again.
    frmProgTempoBobina* prepare() {
        frmProgTempoBobina* w = newCoil();
        chooseDwell(w, 2, 3);
        type(w, "TextL", "20,0");
        panel = openPanelInEepromAccess();
        activate(w);
        return w;
    }
    // Timer1 ticks every 100 ms; between ticks the unit works and the panel's poller hands
    // its answers to the decoder. Returns the number of ticks until the transfer ended.
    int run(frmProgTempoBobina* w, int maxTicks = 40) {
        int ticks = 0;
        while (w->transferRunning() && ticks < maxTicks) {
            w->Timer1_Timer();
            ++ticks;
            pump(100'000);
        }
        return ticks;
    }
    bool editingEnabled(QWidget* w) const {
        return combo(w, 0)->isEnabled() && get<QLineEdit>(w, "TextVR")->isEnabled() &&
               get<QScrollBar>(w, "VScrollL")->isEnabled();
    }

    frmPannelloControllo* panel = nullptr;
};
} // namespace

TEST_F(CoilTransferWindowTest, MasterProgramIsWrittenAndReadBack) {
    frmProgTempoBobina* w = prepare();
    ASSERT_TRUE(progButton(w, 1)->isEnabled());
    QTest::mouseClick(progButton(w, 1), Qt::LeftButton);
    EXPECT_TRUE(get<QTimer>(w, "Timer1")->isActive());
    EXPECT_EQ(get<QTimer>(w, "Timer1")->interval(), 100);
    EXPECT_FALSE(editingEnabled(w));
    EXPECT_FALSE(progButton(w, 1)->isEnabled());
    EXPECT_FALSE(progButton(w, 2)->isEnabled());
    QPointer<frmProgressBar> progress = main->findChild<frmProgressBar*>();
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->LabFase->text(), "Scrittura impulso bobina in MDX");

    // 15 ticks of 100 ms: seven writes, the first read, six more reads.
    EXPECT_EQ(run(w), 15);
    EXPECT_TRUE(!progress || !progress->isVisible());
    EXPECT_EQ(get<QLabel>(main.get(), "LabelMessaggio")->text(),
              "Impulso bobina scritto in MDX e verificato in 1,5 s");
    EXPECT_FALSE(w->transferRunning());
    EXPECT_FALSE(get<QTimer>(w, "Timer1")->isActive());
    EXPECT_TRUE(t.notifier.warnings.empty());
    const std::array<uint8_t, 7> expected{0, 5, 3, 9, 10, 11, 200};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(link.unit.eeprom().mdx[static_cast<size_t>(202 + i)],
                  expected[static_cast<size_t>(i)])
            << i;
    // The engine now charges the coil for 10 - 0.5 * 3 = 8.5 ms at 4500 rpm.
    EXPECT_DOUBLE_EQ(dwellMs(link.unit.eeprom().mdx, 4500), 8.5);
    EXPECT_TRUE(editingEnabled(w));
    EXPECT_TRUE(progButton(w, 1)->isEnabled());
}

TEST_F(CoilTransferWindowTest, SlaveProgramGoesToTheSlave) {
    frmProgTempoBobina* w = prepare();
    const UnitBytes master = link.unit.eeprom().mdx;
    QTest::mouseClick(progButton(w, 2), Qt::LeftButton);
    run(w);
    EXPECT_TRUE(t.notifier.warnings.empty());
    EXPECT_EQ(link.unit.eeprom().msx[204], 3);
    EXPECT_EQ(link.unit.eeprom().msx[208], 200);
    EXPECT_EQ(link.unit.eeprom().mdx, master);
}

TEST_F(CoilTransferWindowTest, ASilentUnitOrTheOtherModuleAnsweringFails) {
    frmProgTempoBobina* w = prepare();
    UnitFaults faults;
    faults.silent = true;
    link.unit.setFaults(faults);
    QTest::mouseClick(progButton(w, 1), Qt::LeftButton);
    // Seven writes, the first read, then ten ticks of 100 ms without an answer.
    EXPECT_EQ(run(w), 7 + 1 + 10);
    ASSERT_EQ(t.notifier.warnings.size(), 1u);
    EXPECT_EQ(t.notifier.warnings[0].text, "Nessuna risposta dalla centralina");
    EXPECT_TRUE(editingEnabled(w));
    ASSERT_TRUE(progButton(w, 1)->isEnabled());

    faults = UnitFaults{};
    faults.wrongModuleProbability = 1;
    link.unit.setFaults(faults);
    QTest::mouseClick(progButton(w, 1), Qt::LeftButton);
    run(w);
    EXPECT_FALSE(w->transferRunning());
    ASSERT_EQ(t.notifier.warnings.size(), 2u);
    EXPECT_EQ(t.notifier.warnings[1].text, "Errore scrittura EEPROM");
    EXPECT_TRUE(editingEnabled(w));
}
