#include "platform/qt/PlatformTimer.hpp"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <memory>
#include <vector>

#include "support/EventOrder.hpp"

using ostrovik::platform::PlatformTimer;
using ostrovik::test::settle;

namespace {

// Event times (ms since the start of the run) of a timer.
struct Recorder {
    explicit Recorder(PlatformTimer& timer, const QElapsedTimer& clock)
    {
        QObject::connect(&timer, &PlatformTimer::timeout, &timer,
                         [this, &clock] { times.push_back(double(clock.nsecsElapsed()) / 1e6); });
    }
    double rate() const // events per second between the first and the last event
    {
        return times.size() < 2 ? 0.0 : double(times.size() - 1) * 1000.0 / (times.back() - times.front());
    }
    std::vector<double> times;
};

} // namespace

class PlatformTimerTest : public QObject {
    Q_OBJECT
private slots:
    void startsDisabledAndObeysItsSwitches();
    void firesOnThe64HzClock();
    void realClockIsNeverFasterThan64Hz();
    void aHandlerMayStopItsTimer();
};

void PlatformTimerTest::startsDisabledAndObeysItsSwitches()
{
    PlatformTimer timer;
    QCOMPARE(timer.isEnabled(), false);
    QCOMPARE(timer.interval(), 1000);
    int events = 0;
    connect(&timer, &PlatformTimer::timeout, this, [&] { ++events; });

    // Each check lets a marker due after the timer's next tick fire first.
    timer.setInterval(1);
    QVERIFY(settle(60));
    QCOMPARE(events, 0); // disabled

    timer.setInterval(0);
    timer.setEnabled(true);
    QVERIFY(settle(60));
    QCOMPARE(events, 0); // an interval of 0 never fires

    timer.setInterval(1);
    QTRY_VERIFY_WITH_TIMEOUT(events > 0, 1000);
    timer.setEnabled(false);
    const int stopped = events;
    QVERIFY(settle(60));
    QCOMPARE(events, stopped);
}

void PlatformTimerTest::firesOnThe64HzClock()
{
    // The timers read a clock of the test's own, moved one 64 Hz period at a
    // time; each step waits until every timer has had its say, so a busy
    // machine only makes the test slower, never wrong.
    constexpr std::int64_t kPeriodNs = 15'625'000;
    std::int64_t nowNs = 64 * kPeriodNs; // on a tick of the clock
    const PlatformTimer::Clock clock = [&nowNs] { return nowNs; };
    struct Case {
        int interval;
        int everyTicks; ///< ceil(max(interval, 10) / 15.625), worked out by hand
    };
    const Case cases[] = {{1, 1}, {10, 1}, {16, 2}, {31, 2}, {100, 7}, {0, 0}};
    std::vector<std::unique_ptr<PlatformTimer>> timers;
    std::vector<int> events(std::size(cases), 0);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        timers.push_back(std::make_unique<PlatformTimer>(nullptr, clock));
        connect(timers.back().get(), &PlatformTimer::timeout, this, [&events, i] { ++events[i]; });
        timers.back()->setInterval(cases[i].interval);
        timers.back()->setEnabled(true);
    }
    const auto expected = [&](std::size_t i, int step) {
        return cases[i].everyTicks == 0 ? 0 : step / cases[i].everyTicks;
    };
    for (int step = 1; step <= 70; ++step) {
        nowNs += kPeriodNs;
        for (std::size_t i = 0; i < std::size(cases); ++i)
            QTRY_VERIFY2_WITH_TIMEOUT(events[i] == expected(i, step),
                                      qPrintable(QStringLiteral("interval %1, tick %2: %3 events")
                                                     .arg(cases[i].interval)
                                                     .arg(step)
                                                     .arg(events[i])),
                                      5000);
    }
    // Time that stands still brings nothing more.
    QVERIFY(settle(40));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        QCOMPARE(events[i], expected(i, 70));

    // After a busy spell of ten periods: one event, no burst.
    nowNs += 10 * kPeriodNs;
    QTRY_COMPARE_WITH_TIMEOUT(events[0], expected(0, 70) + 1, 5000);
    QVERIFY(settle(40));
    QCOMPARE(events[0], expected(0, 70) + 1);
}

void PlatformTimerTest::realClockIsNeverFasterThan64Hz()
{
    QElapsedTimer clock;
    clock.start();
    PlatformTimer fastest;
    Recorder r1(fastest, clock);
    fastest.setInterval(1);
    fastest.setEnabled(true);
    QTRY_VERIFY_WITH_TIMEOUT(r1.times.size() >= 3, 10000);
    fastest.setEnabled(false);
    const double spanMs = double(clock.nsecsElapsed()) / 1e6;
    // A busy machine may make it slower, never faster.
    QVERIFY2(double(r1.times.size()) <= spanMs / 15.625 + 1, qPrintable(QString::number(r1.times.size())));
}

void PlatformTimerTest::aHandlerMayStopItsTimer()
{
    auto* timer = new PlatformTimer;
    int events = 0;
    connect(timer, &PlatformTimer::timeout, this, [&] {
        ++events;
        timer->setEnabled(false);
    });
    timer->setInterval(1);
    timer->setEnabled(true);
    QTRY_COMPARE_WITH_TIMEOUT(events, 1, 1000);
    QVERIFY(settle(60));
    QCOMPARE(events, 1);

    // Deleted from its own handler: no further work on the dead object.
    connect(timer, &PlatformTimer::timeout, this, [&] { delete timer; });
    timer->setEnabled(true);
    QTRY_COMPARE_WITH_TIMEOUT(events, 2, 1000);
    QVERIFY(settle(60));
}

QTEST_GUILESS_MAIN(PlatformTimerTest)
#include "platform_timer_test.moc"
