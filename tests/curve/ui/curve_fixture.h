#pragma once
#include "auxiliary/ui/frmProgressBar.h"
#include "base/FileStore.h"
#include "curve/CurveFile.h"
#include "curve/ui/frmProgCurva.h"
#include "support/ui/WorkbenchFixture.h"
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

using namespace auxiliary;
using namespace curve;

// Curve editors opened through the frame's menus. Twips per pixel are 15: a graph point
// (d twips right of the 500 rpm line, deg degrees) is at pixel ((405 + d) / 15,
// (6200 - 120 deg) / 15) of Picture1.
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
    QPushButton* button(frmProgCurva* w, const char* name) { return get<QPushButton>(w, name); }
    static QPoint px(int rpm, double deg) {
        return QPoint(static_cast<int>((GraphX0 + (rpm - 500) * 1.2) / 15),
                      static_cast<int>((GraphY0 - deg * 120) / 15));
    }
    void click(frmProgCurva* w, QPoint at) {
        QTest::mouseClick(get<QWidget>(w, "Picture1"), Qt::LeftButton, {}, at);
    }
    // Press, drag to, release: the first segment of an empty curve.
    void drag(frmProgCurva* w, QPoint from, QPoint to) {
        QWidget* picture = get<QWidget>(w, "Picture1");
        QTest::mousePress(picture, Qt::LeftButton, {}, from);
        QTest::mouseMove(picture, to);
        QTest::mouseRelease(picture, Qt::LeftButton, {}, to);
    }
    void choose(frmProgCurva* w, const char* text) {
        QLineEdit* box = get<QComboBox>(w, "ComboCA")->lineEdit();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    void pump() { WorkbenchFixture::pump(80'000); }
    void programmingOn(frmProgCurva* w) {
        QTest::mouseClick(button(w, "ComProg"), Qt::LeftButton);
        pump();
    }
    // TimerProg ticks with 80 ms of unit time each until the transfer ends.
    int runTransfer(frmProgCurva* w) {
        int ticks = 0;
        for (; get<QTimer>(w, "TimerProg")->isActive() && ticks < 1000; ++ticks) {
            w->TimerProg_Timer();
            pump();
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
        const QList<frmProgressBar*> all = main->findChildren<frmProgressBar*>();
        return std::ranges::any_of(all, [](QWidget* w) { return w->isVisible(); });
    }
    std::string lastWarning() const {
        return t.notifier.warnings.empty() ? "" : t.notifier.warnings.back().text;
    }
};
