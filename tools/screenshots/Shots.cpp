#include "Shots.h"
#include "ShotBench.h"
#include "base/MenuTable.h"
#include "base/ui/ChildWindow.h"
#include "curve/CurveModel.h"
#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

using namespace base;
using namespace unit;

namespace {

void click(QWidget* window, const char* button) {
    if (auto* b = window->findChild<QAbstractButton*>(button)) QTest::mouseClick(b, Qt::LeftButton);
}

// Replaces a box's text by typing it, as the user does.
void type(QWidget* window, const char* box, const char* keys) {
    if (auto* edit = window->findChild<QLineEdit*>(box)) {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, keys);
    }
}

// The control panel in EEPROM access: a byte written to MDX and read back, then a program
// byte of MSX read, with the traffic in the monitor.
void stagePanel(ShotBench& bench, ChildWindow* w) {
    click(w, "ComEEPROM");
    bench.run(5);
    if (auto* s = w->findChild<QScrollBar*>("VScrollWr")) QTest::keyClick(s, Qt::Key_End);
    type(w, "WrADR", "200");
    type(w, "WrDAT", "C8");
    click(w, "ComScrivi");
    bench.run(5);
    type(w, "RdADR", "200");
    bench.run(5);
    click(w, "ComSelezMDXMSX");
    type(w, "RdADR", "130");
    bench.run(5);
}

// Two minutes of battery voltage with a small ripple, recorded at 10 s a division.
void stageBattery(ShotBench& bench, ChildWindow* w) {
    bench.link.unit.setEngine({.profile = SpeedProfile::Fixed, .fixedRpm = 3200});
    bench.link.unit.setBattery({.volts = 13.9, .rippleVolts = 0.35, .rippleHz = 0.05});
    if (auto* s = w->findChild<QScrollBar*>("HScrollTempoDiv")) s->setValue(9);
    click(w, "ComStart");
    bench.run(95'000);
    click(w, "ComStart");
    bench.run(5);
}

void stageNotebook(ShotBench& bench, ChildWindow* w) {
    const bool italian = bench.app.LangCode == 1;
    if (auto* text = w->findChild<QPlainTextEdit*>("Text1")) {
        text->setFocus();
        for (const char* line :
             {italian ? "Curva 1 MDX: +2 gradi sopra 6000 g/m, scritta alle 14:20."
                      : "MDX curve 1: +2 deg above 6000 rpm, written at 14:20.",
              italian ? "Bobina: 3,1 ms a 1000 g/m, alimentazione al banco 13,8 V."
                      : "Coil: 3.1 ms at 1000 rpm, bench supply 13.8 V."}) {
            QTest::keyClicks(text, line);
            QTest::keyClick(text, Qt::Key_Return);
        }
    }
}

void stageTimer(ShotBench&, ChildWindow* w) {
    click(w, "Command4");
}

void stageUnit(ShotBench&, ChildWindow*) {
    QTest::qWait(600); // the status line follows the running unit
}

// The engine swept from 1,000 to 9,000 rpm and back in 20 s, recorded for a while.
void recordSweep(ShotBench& bench, ChildWindow* w, uint64_t ms) {
    bench.link.unit.setEngine({.profile = SpeedProfile::Sweep,
                               .sweepMinRpm = 1000,
                               .sweepMaxRpm = 9000,
                               .sweepPeriodS = 20});
    click(w, "ComStop"); // Start
    bench.run(ms);
    click(w, "ComStop"); // Stop
    bench.run(5);
}

void stageRotation(ShotBench& bench, ChildWindow* w) {
    recordSweep(bench, w, 4000);
}

void stageRotationGraph(ShotBench& bench, ChildWindow* w) {
    click(w, "ComDatiGrafico");
    recordSweep(bench, w, 4000);
}

// MDX holds curve 1, from 5 degrees at 1,000 rpm to 25 degrees at 9,000 rpm (curve graph
// twips: 1,200 per 1,000 rpm from 500 rpm and per 10 degrees); a whole sweep is recorded
// and the graph shows the measured points.
void stageAdvance(ShotBench& bench, ChildWindow* w) {
    curve::Curve programmed;
    programmed.points[0] = {600, 600};
    programmed.points[1] = {10200, 3000};
    programmed.CurveLastPoint = 1;
    curve::BuildCurveTable(programmed);
    UnitEeprom eeprom = bench.link.unit.eeprom();
    for (int i = 0; i < curve::StoredEntries; ++i)
        eeprom.mdx[static_cast<size_t>(6 + i)] =
            static_cast<uint8_t>(programmed.CurveTable[static_cast<size_t>(i)]);
    eeprom.mdx[4] &= 0xFE; // curve 1 programmed
    bench.link.unit.setEeprom(eeprom);

    recordSweep(bench, w, 20'000);
    click(w, "ComDatiGrafico");
    bench.run(5);
}

void stageNotes(ShotBench& bench, ChildWindow* w) {
    recordSweep(bench, w, 2000);
    click(w, "ComNote");
    for (QWidget* notes : bench.main->findChildren<QWidget*>("frmMisRotNote")) {
        QWidget* text = notes->findChild<QWidget*>("Text1");
        if (!text) continue;
        text->setFocus();
        QTest::keyClicks(text, bench.app.LangCode == 1
                                   ? "Prova al banco, sweep 1000-9000 g/m, curva 1 su MDX."
                                   : "Bench run, sweep 1000-9000 rpm, curve 1 in MDX.");
    }
}

// Curve 1 drawn with the mouse as a user does: press at 1,000 rpm and 8 degrees, release at
// 3,000 rpm and 20, then clicks at 6,000 rpm and 32 and at 9,000 rpm and 34 (graph origin at
// 405, 6200 twips; 1,200 twips per 1,000 rpm and per 10 degrees).
void stageCurve(ShotBench& bench, ChildWindow* w) {
    QWidget* graph = w->findChild<QWidget*>("Picture1");
    auto* combo = w->findChild<QComboBox*>("ComboCA");
    if (!graph || !combo) return;
    const auto choose = [combo](const char* curve) {
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), curve);
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    };
    const auto at = [&](double rpm, double degrees) {
        const double twips = bench.app.TwipsPerPixelX;
        return QPoint(static_cast<int>((405 + (rpm - 500) * 1.2) / twips),
                      static_cast<int>((6200 - degrees * 120) / bench.app.TwipsPerPixelY));
    };
    // Curve 0, a reference to compare with, then curve 1 over it with the unit's steps.
    choose("0");
    QTest::mousePress(graph, Qt::LeftButton, {}, at(800, 4));
    QTest::mouseMove(graph, at(4000, 24));
    QTest::mouseRelease(graph, Qt::LeftButton, {}, at(4000, 24));
    QTest::mousePress(graph, Qt::LeftButton, {}, at(9500, 30));
    QTest::mouseRelease(graph, Qt::LeftButton, {}, at(9500, 30));
    choose("1");
    QTest::mousePress(graph, Qt::LeftButton, {}, at(1000, 8));
    QTest::mouseMove(graph, at(3000, 20));
    QTest::mouseRelease(graph, Qt::LeftButton, {}, at(3000, 20));
    for (const QPoint p : {at(6000, 32), at(9000, 34)}) {
        QTest::mousePress(graph, Qt::LeftButton, {}, p);
        QTest::mouseRelease(graph, Qt::LeftButton, {}, p);
    }
    click(w, "ComCrva0");
    click(w, "ComTabella");
}

// A coil program being tuned: a longer dwell from 3,000 to 4,000 rpm, a 7,2 mH coil of
// 0,8 Ohm, looked at 3,500 rpm.
void stageCoil(ShotBench&, ChildWindow* w) {
    if (auto* c = w->findChild<QComboBox*>("ComboMS_1")) c->setCurrentIndex(3);
    type(w, "TextL", "7,2");
    type(w, "TextR", "0,8");
    type(w, "TextVR", "3500");
    QTest::qWait(30); // the deferred recalculation
}

// The workbench in use: the control panel above a battery recording.
void stageWorkbench(ShotBench& bench, ChildWindow*) {
    ChildWindow* panel = bench.open("mnuPannelloControllo");
    // The battery recording first: while the panel holds the unit in EEPROM access, nothing
    // else can be recorded.
    stageBattery(bench, bench.open("mnuMisBatteria"));
    stagePanel(bench, panel);
    bench.main->action("mnuAffiancaOrizz")->trigger();
}

constexpr Shot kShots[] = {
    {"frmMain", stageWorkbench},
    {"frmPannelloControllo", stagePanel},
    {"frmMisBatteria", stageBattery},
    {"frmBloccoNote", stageNotebook},
    {"frmAbout", nullptr},
    {"frmTimerExact", stageTimer},
    {"frmUnitaSimulata", stageUnit},
    {"frmProgCurva", stageCurve},
    {"frmProgTempoBobina", stageCoil},
    {"frmMisRot", stageRotation},
    {"frmMisRotGrafico", stageRotationGraph, "frmMisRot", "frmMisRot"},
    {"frmMisAnt", stageAdvance},
    {"frmMisRotNote", stageNotes, "frmMisRotNote", "frmMisRot"},
};

} // namespace

const char* Shot::entry() const {
    const base::Entry* e = base::showing(via ? via : name);
    return e ? e->name.data() : nullptr; // the table's names are whole literals
}

std::span<const Shot> guideShots() {
    return kShots;
}
