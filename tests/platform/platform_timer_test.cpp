#include "platform/PlatformTimer.hpp"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <vector>

using ostrovik::platform::PlatformTimer;

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
    void aHandlerMayStopItsTimer();
};

void PlatformTimerTest::startsDisabledAndObeysItsSwitches()
{
    PlatformTimer timer;
    QCOMPARE(timer.isEnabled(), false);
    QCOMPARE(timer.interval(), 1000);
    int events = 0;
    connect(&timer, &PlatformTimer::timeout, this, [&] { ++events; });

    timer.setInterval(1);
    QTest::qWait(60);
    QCOMPARE(events, 0); // disabled

    timer.setInterval(0);
    timer.setEnabled(true);
    QTest::qWait(60);
    QCOMPARE(events, 0); // an interval of 0 never fires

    timer.setInterval(1);
    QTRY_VERIFY_WITH_TIMEOUT(events > 0, 1000);
    timer.setEnabled(false);
    const int stopped = events;
    QTest::qWait(60);
    QCOMPARE(events, stopped);
}

void PlatformTimerTest::firesOnThe64HzClock()
{
    QElapsedTimer clock;
    clock.start();
    PlatformTimer fastest, second, slow;
    Recorder r1(fastest, clock), r31(second, clock), r100(slow, clock);
    fastest.setInterval(1);
    second.setInterval(31);
    slow.setInterval(100);
    for (PlatformTimer* t : {&fastest, &second, &slow}) {
        t->setEnabled(true);
    }
    QTest::qWait(1200);

    qInfo("interval 1: %.2f events/s, interval 31: %.2f, interval 100: %.2f (%zu, %zu, %zu events)", r1.rate(),
          r31.rate(), r100.rate(), r1.times.size(), r31.times.size(), r100.times.size());
    // 64, 32 and 64/7 = 9.14 a second. Never faster; slower only if this
    // machine was too busy to wake us on some tick.
    QVERIFY2(r1.rate() > 56.0 && r1.rate() < 65.5, qPrintable(QString::number(r1.rate())));
    QVERIFY2(r31.rate() > 28.0 && r31.rate() < 33.0, qPrintable(QString::number(r31.rate())));
    QVERIFY2(r100.rate() > 8.0 && r100.rate() < 9.5, qPrintable(QString::number(r100.rate())));
    QVERIFY(r1.times.size() <= 1200 / 15.625 + 1);
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
    QTest::qWait(60);
    QCOMPARE(events, 1);

    // Deleted from its own handler: no further work on the dead object.
    connect(timer, &PlatformTimer::timeout, this, [&] { delete timer; });
    timer->setEnabled(true);
    QTRY_COMPARE_WITH_TIMEOUT(events, 2, 1000);
    QTest::qWait(60);
}

QTEST_GUILESS_MAIN(PlatformTimerTest)
#include "platform_timer_test.moc"
