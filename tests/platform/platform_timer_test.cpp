#include "platform/qt/PlatformTimer.hpp"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <memory>
#include <vector>

#include "support/EventOrder.hpp"

using ostrovik::platform::PlatformTimer;
using ostrovik::test::kHangGuardMs;
using ostrovik::test::settle;

namespace {

/// One period of the 64 Hz clock.
constexpr std::int64_t kPeriodNs = 15'625'000;

/// A steady clock in the test's hands, starting on a tick of the 64 Hz clock.
struct TestClock {
    std::int64_t nowNs = 64 * kPeriodNs;
    PlatformTimer::Clock clock() { return [this] { return nowNs; }; }
    void advance(int periods) { nowNs += periods * kPeriodNs; }
};

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
    TestClock time;
    PlatformTimer timer(nullptr, time.clock());
    QCOMPARE(timer.isEnabled(), false);
    QCOMPARE(timer.interval(), 1000);
    int events = 0;
    connect(&timer, &PlatformTimer::timeout, this, [&] { ++events; });

    // Each check moves the time past several ticks and lets a marker due
    // after the timer's wait fire first.
    timer.setInterval(1);
    time.advance(4);
    QVERIFY(settle(60));
    QCOMPARE(events, 0); // disabled

    timer.setInterval(0);
    timer.setEnabled(true);
    time.advance(4);
    QVERIFY(settle(60));
    QCOMPARE(events, 0); // an interval of 0 never fires

    timer.setInterval(1);
    time.advance(1);
    QTRY_VERIFY_WITH_TIMEOUT(events > 0, kHangGuardMs);
    timer.setEnabled(false);
    const int stopped = events;
    time.advance(4);
    QVERIFY(settle(60));
    QCOMPARE(events, stopped);
}

void PlatformTimerTest::firesOnThe64HzClock()
{
    // The timers read a clock of the test's own, moved one 64 Hz period at a
    // time; each step waits until every timer has had its say, so a busy
    // machine only makes the test slower, never wrong.
    TestClock time;
    const PlatformTimer::Clock clock = time.clock();
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
        time.advance(1);
        for (std::size_t i = 0; i < std::size(cases); ++i)
            QTRY_VERIFY2_WITH_TIMEOUT(events[i] == expected(i, step),
                                      qPrintable(QStringLiteral("interval %1, tick %2: %3 events")
                                                     .arg(cases[i].interval)
                                                     .arg(step)
                                                     .arg(events[i])),
                                      kHangGuardMs);
    }
    // Time that stands still brings nothing more.
    QVERIFY(settle(40));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        QCOMPARE(events[i], expected(i, 70));

    // After a busy spell of ten periods: one event, no burst.
    time.advance(10);
    QTRY_COMPARE_WITH_TIMEOUT(events[0], expected(0, 70) + 1, kHangGuardMs);
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
    QTRY_VERIFY_WITH_TIMEOUT(r1.times.size() >= 3, kHangGuardMs);
    fastest.setEnabled(false);
    const double spanMs = double(clock.nsecsElapsed()) / 1e6;
    // A busy machine may make it slower, never faster.
    QVERIFY2(double(r1.times.size()) <= spanMs / 15.625 + 1, qPrintable(QString::number(r1.times.size())));
}

void PlatformTimerTest::aHandlerMayStopItsTimer()
{
    TestClock time;
    auto* timer = new PlatformTimer(nullptr, time.clock());
    int events = 0;
    connect(timer, &PlatformTimer::timeout, this, [&] {
        ++events;
        timer->setEnabled(false);
    });
    timer->setInterval(1);
    timer->setEnabled(true);
    time.advance(1);
    QTRY_COMPARE_WITH_TIMEOUT(events, 1, kHangGuardMs);
    time.advance(4);
    QVERIFY(settle(60));
    QCOMPARE(events, 1);

    // Deleted from its own handler: no further work on the dead object.
    connect(timer, &PlatformTimer::timeout, this, [&] { delete timer; });
    timer->setEnabled(true);
    time.advance(1);
    QTRY_COMPARE_WITH_TIMEOUT(events, 2, kHangGuardMs);
    time.advance(4);
    QVERIFY(settle(60));
}

QTEST_GUILESS_MAIN(PlatformTimerTest)
#include "platform_timer_test.moc"
