#pragma once
#include "auxiliary/ui/frmProgressBar.h"
#include "base/FileStore.h"
#include "curve/CurveFile.h"
#include "curve/ui/frmProgCurva.h"
#include "panel/ui/frmPannelloControllo.h"
#include "protocol/Decoder.h"
#include "protocol/UnitLink.h"
#include "shell/ui/WindowRegistry.h"
#include "shell/ui/frmMain.h"
#include "support/SimulatedUnitLink.h"
#include "support/UnitTimePollClock.h"
#include "support/ui/DrainRing.h"
#include "support/ui/TestContext.h"
#include "support/ui/WorkbenchFixture.h"
#include "transport/ui/RingPollTimer.h"
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

using namespace auxiliary;
using namespace unit;
using namespace curve;

// The main window over the simulated unit, curve windows opened through its menus. Twips
// per pixel are 15: a graph point (d twips right of the 500 rpm line, deg degrees) is at
// pixel ((405 + d) / 15, (6200 - 120 deg) / 15) of Picture1.
class CurveWindowTest : public WorkbenchFixture {
protected:
    CurveWindowTest() : WorkbenchFixture(QSize(1400, 1000)) {}

    frmProgCurva* newCurve() {
        main->action("mnuNuovoCrva")->trigger();
        return active();
    }
    frmProgCurva* active() const {
        QMdiSubWindow* sub = main->mdiArea()->activeSubWindow();
        return sub ? dynamic_cast<frmProgCurva*>(sub->widget()) : nullptr;
    }
    std::vector<frmProgCurva*> curves() const {
        std::vector<frmProgCurva*> out;
        for (QMdiSubWindow* sub : main->mdiArea()->subWindowList())
            if (auto* c = dynamic_cast<frmProgCurva*>(sub->widget()); c && sub->isVisible())
                out.push_back(c);
        return out;
    }
    QPushButton* button(frmProgCurva* w, const char* name) { return get<QPushButton>(w, name); }
    static QPoint px(int rpm, double deg) {
        return QPoint(static_cast<int>((GraphX0 + (rpm - 500) * 1.2) / 15),
                      static_cast<int>((GraphY0 - deg * 120) / 15));
    }
    void press(frmProgCurva* w, QPoint at) {
        QTest::mousePress(get<QWidget>(w, "Picture1"), Qt::LeftButton, {}, at);
    }
    void release(frmProgCurva* w, QPoint at) {
        QTest::mouseRelease(get<QWidget>(w, "Picture1"), Qt::LeftButton, {}, at);
    }
    void click(frmProgCurva* w, QPoint at) {
        press(w, at);
        release(w, at);
    }
    // Press, drag to, release: the first segment of an empty curve.
    void drag(frmProgCurva* w, QPoint from, QPoint to) {
        press(w, from);
        QTest::mouseMove(get<QWidget>(w, "Picture1"), to);
        release(w, to);
    }
    void choose(frmProgCurva* w, const char* text) {
        QComboBox* box = get<QComboBox>(w, "ComboCA");
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), text);
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    }
    void typeMaxRpm(frmProgCurva* w, const char* text) {
        QLineEdit* e = get<QLineEdit>(w, "TextVRM");
        e->selectAll();
        QTest::keyClicks(e, text);
    }
    // The main window's ring poller takes what the unit sent.
    void poll() { drainRing(mainPoller(), port); }
    void pump(uint64_t us = 80'000) { t.pump(us); }
    void programmingOn(frmProgCurva* w) {
        QTest::mouseClick(button(w, "ComProg"), Qt::LeftButton);
        pump();
    }
    // TimerProg ticks with 80 ms of unit time each until the transfer ends.
    int runTransfer(frmProgCurva* w, int limit = 1000) {
        int ticks = 0;
        while (get<QTimer>(w, "TimerProg")->isActive() && ticks < limit) {
            w->TimerProg_Timer();
            pump();
            ++ticks;
        }
        return ticks;
    }
    // Curve 1 of a window: 30 degrees from 3,000 to 6,000 rpm, then to 20 at 9,900.
    void drawCurveOne(frmProgCurva* w) {
        choose(w, "1");
        drag(w, px(3000, 30), px(6000, 30));
        click(w, px(9900, 20));
    }
    bool progressOpen() const {
        for (QMdiSubWindow* sub : main->mdiArea()->subWindowList())
            if (qobject_cast<frmProgressBar*>(sub->widget()) && sub->isVisible()) return true;
        return false;
    }
    std::string lastWarning() const {
        return t.notifier.warnings.empty() ? "" : t.notifier.warnings.back().text;
    }
    const UnitBytes& module(UnitModuleId id) { return link.unit.eeprom().module(id); }
    static bool sameCurve(const Curve& a, const Curve& b) {
        return a.CurveLastPoint == b.CurveLastPoint && a.points == b.points &&
               a.CurveTable == b.CurveTable;
    }
    void keys(QWidget* w, Qt::Key key, int times = 1) {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(w, key, Qt::ControlModifier);
    }
    QString statusMessage() const { return get<QLabel>(main, "LabelMessaggio")->text(); }
};
