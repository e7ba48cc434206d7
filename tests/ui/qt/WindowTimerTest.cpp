// Window timers: periodic until killed, re-arming restarts the interval.
// Waits are bounded; intervals are short.
#include "WindowFixture.h"

#include <QElapsedTimer>
#include <QTimer>

namespace {

TEST_F(WindowTest, TimersArePeriodicPreciseAndKeptApartUntilKilled)
{
    window.SetTimer(4, 15);
    window.SetTimer(6, 1000);
    EXPECT_EQ(window.findChild<QTimer*>()->timerType(), Qt::PreciseTimer);
    ASSERT_TRUE(QTest::qWaitFor([&] { return sink.Count(Tick(4)) >= 3; }, 3000));
    window.KillTimer(4);
    window.KillTimer(3);  // never armed: nothing happens
    EXPECT_FALSE(window.IsTimerActive(4));
    EXPECT_TRUE(window.IsTimerActive(6));
    const int fired = sink.Count(Tick(4));
    window.SetTimer(5, 45);  // a yardstick: three periods of the killed timer
    ASSERT_TRUE(QTest::qWaitFor([&] { return sink.Count(Tick(5)) >= 1; }, 3000));
    EXPECT_EQ(sink.Count(Tick(4)), fired);
}

TEST_F(WindowTest, RearmingRestartsTheInterval)
{
    QElapsedTimer clock;
    qint64 rearmedAt = -1, firedAt = -1;
    sink.onTimer = [&](int) {
        if (firedAt < 0)
            firedAt = clock.elapsed();
    };
    clock.start();
    window.SetTimer(9, 300);
    QTimer::singleShot(100, &window, [&] {
        window.SetTimer(9, 300);
        rearmedAt = clock.elapsed();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return firedAt >= 0; }, 3000));
    ASSERT_GE(rearmedAt, 0);
    ASSERT_LT(rearmedAt, 300) << "the machine was too busy to re-arm in time";
    EXPECT_GE(firedAt, rearmedAt + 295);
}

TEST_F(WindowTest, TimerCanBeKilledFromItsOwnExpiry)
{
    sink.onTimer = [&](int id) { window.KillTimer(id); };
    window.SetTimer(2, 10);
    ASSERT_TRUE(QTest::qWaitFor([&] { return sink.Count(Tick(2)) >= 1; }, 3000));
    EXPECT_FALSE(window.IsTimerActive(2));
    EXPECT_EQ(sink.Count(Tick(2)), 1);
}

}  // namespace
