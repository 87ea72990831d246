#pragma once

#include <QCoreApplication>
#include <QTimer>
#include <QtTest>

namespace ostrovik::test {

/// The wait for something that must happen: long enough that only a hang
/// reaches it, however slow the machine. A test judges what happened, never
/// how soon.
inline constexpr int kHangGuardMs = 30000;

/// Runs the event loop until a timer due @p ms from now has fired, then hands
/// out what is still posted. Qt fires timers in the order they fall due, so by
/// then every event posted before the call and every timer due sooner has had
/// its turn: "nothing more happened" is judged by order, however busy the
/// machine, not by how long the test waited.
inline bool settle(int ms = 0)
{
    QTimer marker;
    marker.setSingleShot(true);
    marker.setTimerType(Qt::PreciseTimer);
    bool fired = false;
    QObject::connect(&marker, &QTimer::timeout, [&fired] { fired = true; });
    marker.start(ms);
    const bool ok = QTest::qWaitFor([&fired] { return fired; }, 60000);
    QCoreApplication::sendPostedEvents();
    return ok;
}

} // namespace ostrovik::test
