#pragma once
#include "measure_fixture.h"
#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QLocale>

// The rotation window in the program as a user meets it, over a 3,000 rpm engine. settle()
// lets the window's screen refresh run.
class RotationWindowTest : public MeasureWindowTest {
protected:
    RotationWindowTest() {
        QLocale::setDefault(QLocale::c());
        link.unit.setEngine({.profile = SpeedProfile::Fixed, .fixedRpm = 3000});
        main->resize(1300, 900);
    }
    ~RotationWindowTest() override { QLocale::setDefault(QLocale::system()); }

    // The rotation window, opened from the View menu.
    frmMisRot* openFromMenu() { return w = WorkbenchFixture::openFromMenu<frmMisRot>("mnuMisRot"); }
    template <class T> T* get(const char* name) const { return MeasureWindowTest::get<T>(w, name); }
    QString caption(const char* name) const { return get<QPushButton>(name)->text(); }
    QString label(const char* name) const { return get<QLabel>(name)->text(); }
    QScrollBar* scroll(const char* name) const { return get<QScrollBar>(name); }
    void click(const char* name) { MeasureWindowTest::click(w, name); }
    void record(uint64_t ms) { MeasureWindowTest::record(w, ms); }
    // A key typed into whatever has the focus.
    void type(Qt::Key key) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, key);
    }

    // The event loop runs long enough for the window's screen refresh.
    void settle() {
        QApplication::processEvents(); // what is pending (first paint, fonts) comes first
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < frmMisRot::RefreshIntervalMs + 20)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    QStringList listRows() const { return rows(w, "List1"); }
    QStringList liveLines() const {
        return get<QPlainTextEdit>("Text1")->toPlainText().split('\n', Qt::SkipEmptyParts);
    }

    frmMisRot* w = nullptr;
};
