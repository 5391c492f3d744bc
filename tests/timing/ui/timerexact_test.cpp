#include "support/ui/TestContext.h"
#include "timing/ui/frmTimerExact.h"
#include <QApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace timing;

namespace {

class TimerExactTest : public ::testing::Test {
protected:
    TestContext t;
    frmTimerExact* w = t.open<frmTimerExact>();

    QPushButton* start() { return w->findChild<QPushButton*>("Command4"); }
    QPushButton* stop() { return w->findChild<QPushButton*>("Command6"); }
    QString millis() { return w->findChild<QLabel*>("Label2")->text(); }
    void closeWindow() {
        w->subWindow()->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(TimerExactTest, LoadsStoppedAtItsFixedSizeAndClosesWithoutAKill) {
    EXPECT_EQ(millis(), "0");
    EXPECT_EQ(w->subWindow()->size(), QSize(200, 140)); // 3000 x 2100 twips
    w->subWindow()->resize(400, 300);
    EXPECT_EQ(w->subWindow()->size(), QSize(200, 140));
    closeWindow();
    EXPECT_EQ(t.timerSource.killCalls, 0);
    EXPECT_EQ(t.app.ChildCount, 0);
}

TEST_F(TimerExactTest, StartRunsOneMillisecondTimerFromTickZeroAndStopResets) {
    t.clock.TickCounter = 777;
    QTest::mouseClick(start(), Qt::LeftButton);
    EXPECT_FALSE(start()->isEnabled());
    EXPECT_EQ(millis(), "");
    ASSERT_EQ(t.timerSource.live.size(), 1u); // its period is modTimerExact's (clock_test)
    t.timerSource.fire(3);
    EXPECT_EQ(t.clock.TickCounter, 3);

    QTest::mouseClick(stop(), Qt::LeftButton);
    EXPECT_TRUE(t.timerSource.live.empty());
    EXPECT_EQ(t.clock.TickCounter, 0);
    EXPECT_EQ(millis(), "0");
    EXPECT_TRUE(start()->isEnabled());
}

TEST_F(TimerExactTest, ClosingWhileRunningStopsTheTimer) {
    QTest::mouseClick(start(), Qt::LeftButton);
    closeWindow();
    EXPECT_TRUE(t.timerSource.live.empty());
    EXPECT_EQ(t.timerSource.killCalls, 1);
    EXPECT_EQ(t.app.ChildCount, 0);
    EXPECT_EQ(t.frame.unloaded, 1);
}

} // namespace
