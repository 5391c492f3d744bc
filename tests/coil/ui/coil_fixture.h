#pragma once
#include "coil/ui/frmProgTempoBobina.h"
#include "support/ui/WorkbenchFixture.h"
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

using namespace coil;

// Coil windows opened through the frame's menus; the tests tick Timer1 themselves.
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
    // The next open or save dialog answers path ("" cancels).
    void chooseFile(const std::string& path) {
        main->documents().setChooser([this, path](const FileDialogRequest& request) {
            lastRequest = request;
            return QString::fromStdString(path);
        });
    }

    FileDialogRequest lastRequest;
};
