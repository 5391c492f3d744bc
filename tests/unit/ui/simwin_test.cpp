#include "support/ui/WorkbenchFixture.h"
#include "unit/backends/SimulatedUnitSystem.h"
#include "unit/ui/frmUnitaSimulata.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace unit;

namespace {

// Built before the workbench and gone after it.
struct UnitShown {
    SimulatedUnitSystem unit{""}; // EEPROM in memory only
};

class SimWinTest : public UnitShown, public WorkbenchFixture {
protected:
    SimWinTest() : WorkbenchFixture({}, 0, &unit) {}
    frmUnitaSimulata* w = nullptr;

    void open(int langOffset = 0) {
        unit.setEngine({.profile = SpeedProfile::Fixed, .fixedRpm = 4200});
        t.texts.LangOffset = langOffset;
        w = openFromMenu<frmUnitaSimulata>("mnuUnitaSimulata");
        ASSERT_NE(w, nullptr);
    }
    template <class T> T* get(const char* name) { return WorkbenchFixture::get<T>(w, name); }
    QLineEdit* box(const char* name) { return get<QLineEdit>(name); }
    QString text(const char* name) { return box(name)->text(); }
    // Replaces a text box's contents the way a user does: select all, type.
    void type(const char* name, const QString& s) {
        QLineEdit* b = box(name);
        QTest::keyClick(b, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(b, s);
    }
    void tick(Qt::Key key, const char* combo) { QTest::keyClick(get<QComboBox>(combo), key); }
    void toggle(const char* check) { QTest::keyClick(get<QCheckBox>(check), Qt::Key_Space); }
    void apply() { QTest::mouseClick(get<QPushButton>("ComApplica"), Qt::LeftButton); }
    bool marked(const char* name) { return box(name)->property("invalid").toBool(); }
};

TEST_F(SimWinTest, ApplyRefusesInvalidNumbersOrSetsEverythingAtOnce) {
    open();
    EXPECT_EQ(text("TextRpm"), "4200");
    const EngineSettings engineBefore = unit.engine();
    tick(Qt::Key_Down, "CmbProfilo"); // fixed -> sweep
    type("TextRpmMin", "1500");
    type("TextRpmMax", "7500");
    tick(Qt::Key_Down, "CmbCurva");
    tick(Qt::Key_Down, "CmbModulo");
    type("TextRpm", "abc");
    type("TextVBatt", "25");
    toggle("ChkPerdi");
    toggle("ChkMuto");
    toggle("ChkRifiuta");
    tick(Qt::Key_End, "CmbRispostaEEPROM"); // 0xD2 refused with 0xD0

    apply();
    ASSERT_EQ(t.notifier.warnings.size(), 1u);
    EXPECT_EQ(t.notifier.warnings[0].text, "Impostazioni non applicate:\n"
                                           "Giri fissi (giri/min): \"abc\" non è un numero.\n"
                                           "Tensione (V): \"25\" è fuori dai limiti 6 - 18.");
    EXPECT_EQ(unit.engine(), engineBefore);
    EXPECT_EQ(unit.faults(), UnitFaults{});
    EXPECT_TRUE(marked("TextRpm") && marked("TextVBatt"));
    EXPECT_FALSE(marked("TextRpmMin"));
    EXPECT_EQ(text("TextRpm"), "abc"); // the user's text stays for correcting

    type("TextRpm", "20000");
    type("TextVBatt", "12,5"); // a decimal comma is taken too
    apply();
    EXPECT_EQ(t.notifier.warnings.size(), 1u);
    EXPECT_FALSE(marked("TextRpm") || marked("TextVBatt"));
    EXPECT_EQ(unit.engine(), (EngineSettings{.profile = SpeedProfile::Sweep,
                                             .fixedRpm = 20000,
                                             .sweepMinRpm = 1500,
                                             .sweepMaxRpm = 7500,
                                             .curve = 2,
                                             .timingModule = UnitModuleId::MSX}));
    EXPECT_EQ(unit.battery().volts, 12.5);
    EXPECT_EQ(unit.faults(), (UnitFaults{0.05, 0, 0, true, true, EepromAnswer::Refused}));
    EXPECT_EQ(text("TextVBatt"), "12.5"); // shown as applied

    // Return in a text box applies as well.
    type("TextRpm", "5100");
    QTest::keyClick(box("TextRpm"), Qt::Key_Return);
    EXPECT_EQ(unit.engine().fixedRpm, 5100);
}

TEST_F(SimWinTest, StatusFollowsTheUnitAndClosingStopsIt) {
    open(200);
    uint32_t out = 0;
    ASSERT_EQ(unit.outOpen(0, out), 0);
    ASSERT_EQ(unit.outShortMsg(out, 0xD1), 0); // programming mode
    QTimer* timer = get<QTimer>("TimerStato");
    QMetaObject::invokeMethod(timer, "timeout");
    EXPECT_TRUE(get<QLabel>("LabStato")->text().startsWith("Mode: programming  |  "));
    unit.outClose(out);
    unit.stop();

    w->subWindow()->close();
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(t.app.ChildCount, 0);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
