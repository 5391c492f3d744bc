#pragma once
#include "coil/ui/frmProgTempoBobina.h"
#include "panel/ui/frmPannelloControllo.h"
#include "protocol/Decoder.h"
#include "protocol/UnitLink.h"
#include "shell/ui/WindowRegistry.h"
#include "shell/ui/frmMain.h"
#include "support/SimulatedUnitLink.h"
#include "support/ui/DrainRing.h"
#include "support/ui/TestContext.h"
#include "support/ui/WorkbenchFixture.h"
#include "transport/MidiPort.h"
#include "transport/ui/RingPollTimer.h"
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using namespace base;
using namespace panel;
using namespace coil;

// The main window over the simulated unit: both devices open, the decoder and its targets
// set, every window registered. Windows open through the menus. Nothing runs by itself:
// the tests let unit time pass and tick the coil window's Timer1 themselves.
class CoilWindowTest : public WorkbenchFixture {
protected:
    void trigger(const char* entry) { main->action(entry)->trigger(); }
    // The coil window the last menu command opened (the active one).
    frmProgTempoBobina* coilWindow() const {
        QMdiSubWindow* sub = main->mdiArea()->activeSubWindow();
        return sub ? qobject_cast<frmProgTempoBobina*>(sub->widget()) : nullptr;
    }
    frmProgTempoBobina* newCoil() {
        trigger("mnuNuovoIBob");
        frmProgTempoBobina* w = coilWindow();
        EXPECT_NE(w, nullptr);
        settle(w);
        return w;
    }
    // Lets the deferred recalculation (Timer2) run.
    static void settle(frmProgTempoBobina* w) {
        auto* timer2 = w->findChild<QTimer*>("Timer2");
        EXPECT_TRUE(QTest::qWaitFor([timer2] { return !timer2->isActive(); }, 2000));
    }
    static QString text(QWidget* w, const char* name) {
        if (auto* l = w->findChild<QLabel*>(name)) return l->text();
        return get<QLineEdit>(w, name)->text();
    }
    static QComboBox* combo(QWidget* w, int band) {
        return get<QComboBox>(w, QString("ComboMS_%1").arg(band));
    }
    static QPushButton* progButton(QWidget* w, int k) {
        return get<QPushButton>(w, QString("CommProgBobinaMS_%1").arg(k));
    }
    // Clicks into a box, selects its text and types keys, as a user replaces a value.
    static void type(QWidget* w, const char* name, const char* keys) {
        QLineEdit* e = get<QLineEdit>(w, name);
        QTest::mouseClick(e, Qt::LeftButton);
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(e, keys);
    }
    // Picks a dwell from a list with the keyboard, as a user does.
    static void chooseDwell(QWidget* w, int band, int index) {
        QComboBox* c = combo(w, band);
        QTest::mouseClick(c, Qt::LeftButton);
        QApplication::processEvents();
        c->hidePopup();
        while (c->currentIndex() < index)
            QTest::keyClick(c, Qt::Key_Down);
        while (c->currentIndex() > index)
            QTest::keyClick(c, Qt::Key_Up);
    }
    void activate(QWidget* w) {
        main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(w->parentWidget()));
    }
    frmPannelloControllo* openPanelInEepromAccess() {
        trigger("mnuPannelloControllo");
        auto* panel = main->findChild<frmPannelloControllo*>();
        EXPECT_NE(panel, nullptr);
        QTest::mouseClick(get<QPushButton>(panel, "ComEEPROM"), Qt::LeftButton);
        pump(1000);
        return panel;
    }
    // The next open or save dialog answers path ("" cancels).
    void chooseFile(const std::string& path) {
        main->documents().setChooser([this, path](const FileDialogRequest& request) {
            ++chooserCalls;
            lastRequest = request;
            return QString::fromStdString(path);
        });
    }

    int chooserCalls = 0;
    FileDialogRequest lastRequest;
};
