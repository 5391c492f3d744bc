#include "support/ui/WorkbenchFixture.h"
#include "timing/ui/frmTimerExact.h"
#include <QLabel>
#include <QPushButton>

using TimerExactWindow = WorkbenchFixture;

TEST_F(TimerExactWindow, StartRunsOneMillisecondTimerFromTickZeroStopResetsClosingStops) {
    frmTimerExact* w = openFromMenu<frmTimerExact>("mnuTimerExact");
    ASSERT_NE(w, nullptr);
    auto* start = w->findChild<QPushButton*>("Command4");
    const auto* millis = w->findChild<QLabel*>("Label2");
    EXPECT_EQ(millis->text(), "0");
    EXPECT_EQ(w->subWindow()->size(), QSize(200, 140)); // 3000 x 2100 twips
    w->subWindow()->resize(400, 300);
    EXPECT_EQ(w->subWindow()->size(), QSize(200, 140));
    t.clock.TickCounter = 777;
    QTest::mouseClick(start, Qt::LeftButton);
    EXPECT_FALSE(start->isEnabled());
    EXPECT_EQ(millis->text(), "");
    ASSERT_EQ(t.timerSource.live.size(), 1u); // its period is modTimerExact's (clock_test)
    t.timerSource.fire(3);
    EXPECT_EQ(t.clock.TickCounter, 3);

    QTest::mouseClick(w->findChild<QPushButton*>("Command6"), Qt::LeftButton);
    EXPECT_TRUE(t.timerSource.live.empty());
    EXPECT_EQ(t.clock.TickCounter, 0);
    EXPECT_EQ(millis->text(), "0");
    EXPECT_TRUE(start->isEnabled());

    QTest::mouseClick(start, Qt::LeftButton);
    w->subWindow()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(t.timerSource.live.empty());
    EXPECT_EQ(t.timerSource.killCalls, 2);
}
