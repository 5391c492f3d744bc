#pragma once
#include "panel/ui/frmMisBatteria.h"
#include "panel/ui/frmPannelloControllo.h"
#include "protocol/Decoder.h"
#include "protocol/UnitLink.h"
#include "shell/ui/DocumentDispatch.h"
#include "support/ui/WorkbenchFixture.h"
#include "transport/MidiPort.h"
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

using namespace panel;

// The menu entry that opens each window of the panel.
template <class W> constexpr const char* panelEntry = nullptr;
template <> constexpr const char* panelEntry<frmPannelloControllo> = "mnuPannelloControllo";
template <> constexpr const char* panelEntry<frmMisBatteria> = "mnuMisBatteria";

// A window W of the panel over the simulated unit, opened from its menu entry. Nothing runs
// by itself: pump() lets unit time pass, mainPoller()->pollNow() drains.
template <class W> class UnitWindowTest : public WorkbenchFixture {
protected:
    void open() { w = openFromMenu<W>(panelEntry<W>); }
    template <class T> T* get(const char* name) const { return WorkbenchFixture::get<T>(w, name); }
    QString label(const char* name) const { return get<QLabel>(name)->text(); }
    QPushButton* button(const char* name) const { return get<QPushButton>(name); }
    QScrollBar* scroll(const char* name) const { return get<QScrollBar>(name); }
    // Unit time passes, the poller's clock with it; what arrived waits for the poller.
    void pump(uint64_t us) { t.advance(us); }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }

    W* w = nullptr;
};
