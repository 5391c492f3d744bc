#include "Shots.h"
#include "Workbench.h"
#include "app/ui/ChildWindow.h"
#include <QAbstractButton>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

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
void stagePanel(Workbench& bench, ChildWindow* w) {
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
void stageBattery(Workbench& bench, ChildWindow* w) {
    bench.link.unit.setEngine({.profile = SpeedProfile::Fixed, .fixedRpm = 3200});
    bench.link.unit.setBattery({.volts = 13.9, .rippleVolts = 0.35, .rippleHz = 0.05});
    if (auto* s = w->findChild<QScrollBar*>("HScrollTempoDiv")) s->setValue(9);
    click(w, "ComStart");
    bench.run(95'000);
    click(w, "ComStart");
    bench.run(5);
}

void stageNotebook(Workbench& bench, ChildWindow* w) {
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

void stageTimer(Workbench&, ChildWindow* w) {
    click(w, "Command4");
}

void stageUnit(Workbench&, ChildWindow*) {
    QTest::qWait(600); // the status line follows the running unit
}

// The workbench in use: the control panel and a battery recording side by side.
void stageWorkbench(Workbench& bench, ChildWindow*) {
    stagePanel(bench, bench.open("mnuPannelloControllo"));
    stageBattery(bench, bench.open("mnuMisBatteria"));
    bench.main->action("mnuAffiancaVert")->trigger();
}

constexpr Shot kShots[] = {
    {"frmMain", nullptr, stageWorkbench},
    {"frmPannelloControllo", "mnuPannelloControllo", stagePanel},
    {"frmMisBatteria", "mnuMisBatteria", stageBattery},
    {"frmBloccoNote", "mnuBloccoNote", stageNotebook},
    {"frmAbout", "mnuInfo", nullptr},
    {"frmTimerExact", "mnuTimerExact", stageTimer},
    {"frmUnitaSimulata", "mnuUnitaSimulata", stageUnit},
};

} // namespace

std::span<const Shot> guideShots() {
    return kShots;
}
