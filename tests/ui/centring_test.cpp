// Windows centred on their owner stay whole on the screen, wherever the
// owner stands.

#include <QScreen>
#include <QtTest>

#include "kit/CentreOnOwner.hpp"

class CentringTest : public QObject {
    Q_OBJECT
private slots:
    void keptWholeOnTheScreen();
};

void CentringTest::keptWholeOnTheScreen()
{
    QWidget owner;
    owner.show();
    const QRect room = owner.screen()->availableGeometry();
    QVERIFY(room.width() >= 400 && room.height() >= 300);

    // The owner is 200 × 100, the window 300 × 200 unless it says otherwise.
    const struct {
        const char* where;
        QPoint owner;     // the owner's top-left, from the room's
        QSize window;
        QPoint expected;  // the window's top-left, from the room's
    } cases[] = {
        {"in the middle", {100, 100}, {300, 200}, {50, 50}},
        {"at the left edge", {0, 100}, {300, 200}, {0, 50}},
        {"at the top edge", {100, 0}, {300, 200}, {50, 0}},
        {"at the right edge", {room.width() - 200, 100}, {300, 200}, {room.width() - 300, 50}},
        {"at the bottom edge", {100, room.height() - 100}, {300, 200}, {50, room.height() - 200}},
        {"half off the left edge", {-150, -80}, {300, 200}, {0, 0}},
        {"a window larger than the screen shows its top-left corner", {0, 0},
         {room.width() + 50, room.height() + 50}, {0, 0}},
    };
    for (const auto& c : cases) {
        owner.setGeometry(QRect(room.topLeft() + c.owner, QSize(200, 100)));
        QWidget window;
        window.resize(c.window);
        ostrovik::kit::centreOnOwner(window, owner);
        QVERIFY2(window.pos() == room.topLeft() + c.expected,
                 qPrintable(QStringLiteral("%1: at %2,%3").arg(c.where).arg(window.x()).arg(window.y())));
    }
}

QTEST_MAIN(CentringTest)
#include "centring_test.moc"
