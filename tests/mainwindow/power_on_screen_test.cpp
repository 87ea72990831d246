// Power-on of the real main window on the test ROM: the banner as the window
// shows it, and a ROM image that cannot be read.

#include <QWindow>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <vector>

#include <sys/stat.h>

#include "support/EventOrder.hpp"
#include "support/MainWindowRig.hpp"
#include "ui/TapeOpenDialog.hpp"
#include "kit/Dialogs.hpp"

using namespace ostrovik;
using test::differenceFromBitmap;
using test::MainWindowRig;
using test::settle;
using test::shownPicture;

namespace {
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr std::uint16_t kFont = 0xB000; // glyph of code c at kFont + 8 * c
} // namespace

class PowerOnScreenTest : public QObject {
    Q_OBJECT
private slots:
    void bannerIsShownInTheWindow();
    void unreadableRomImageStopsThePowerOn_data();
    void unreadableRomImageStopsThePowerOn();
    void aRomOfZerosAsksForTapesYetTheWindowCloses();
};

void PowerOnScreenTest::bannerIsShownInTheWindow()
{
    MainWindowRig rig;
    QVERIFY(rig.powerOn());
    const output::FrameBitmap& bitmap = *rig.window->screen().screenBitmap;

    const QImage picture = shownPicture(*rig.window);
    const QString difference = differenceFromBitmap(picture, bitmap);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));

    // The first text row: each glyph dot of "OSTROVIK" in ink, the rest of
    // the cell in the background colour.
    const QByteArray banner("OSTROVIK");
    for (int i = 0; i < banner.size(); ++i)
        for (int row = 0; row < 8; ++row) {
            const std::uint8_t dots = rig.m().ram[kFont + 8 * static_cast<std::uint8_t>(banner[i]) + row];
            for (int bit = 0; bit < 8; ++bit) {
                const int x = 8 * i + bit;
                const QRgb want = (dots << bit) & 0x80 ? kWhite : kBlue;
                QVERIFY2(picture.pixel(x, row) == want,
                         qPrintable(QStringLiteral("%1 at (%2, %3)").arg(QChar(banner[i])).arg(x).arg(row)));
            }
        }
    // The font is drawn, not blank: the banner has ink.
    int ink = 0;
    for (int x = 0; x < 64; ++x)
        for (int y = 0; y < 8; ++y)
            ink += picture.pixel(x, y) == kWhite;
    QVERIFY2(ink > 100, qPrintable(QString::number(ink)));

    // Around the picture: the one-pixel black frame, then the background
    // taken from the picture's top-left pixel.
    output::ScreenView& view = rig.window->screenView();
    const QImage whole = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const output::Box frame = view.currentLayout().frame;
    const int top = frame.top - view.clientTop();
    QCOMPARE(whole.pixel(frame.left, top), qRgb(0, 0, 0));
    QCOMPARE(whole.pixel(frame.right - 1, top + 100), qRgb(0, 0, 0));
    QCOMPARE(whole.pixel(frame.left - 1, top), kBlue);
    QCOMPARE(whole.pixel(2, 2), kBlue);
}

void PowerOnScreenTest::unreadableRomImageStopsThePowerOn_data()
{
    QTest::addColumn<QString>("inItsPlace");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << QString() << QString::fromLocal8Bit(std::strerror(ENOENT));
    QTest::newRow("a folder") << QStringLiteral("folder") << QString::fromLocal8Bit(std::strerror(EISDIR));
    QTest::newRow("header only") << QStringLiteral("22 bytes")
                                 << QStringLiteral("the file holds 22 bytes, too few for a ROM image");
    QTest::newRow("a FIFO") << QStringLiteral("fifo") << QStringLiteral("not a regular file");
    QTest::newRow("a link to /dev/zero") << QStringLiteral("zero") << QStringLiteral("not a regular file");
}

void PowerOnScreenTest::unreadableRomImageStopsThePowerOn()
{
    QFETCH(QString, inItsPlace);
    QFETCH(QString, reason);
    MainWindowRig rig;
    const QString bios = rig.path(QStringLiteral("bios.dat"));
    QVERIFY(QFile::remove(bios));
    if (inItsPlace == QLatin1String("folder"))
        rig.makeFolder(QStringLiteral("bios.dat"));
    else if (inItsPlace == QLatin1String("22 bytes"))
        QVERIFY(!rig.writeFile(QStringLiteral("bios.dat"), std::vector<std::uint8_t>(22, 0xC3)).isEmpty());
    else if (inItsPlace == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(bios).constData(), 0600), 0);
    else if (inItsPlace == QLatin1String("zero"))
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), bios));

    // The box opens over the main window once the desktop has put it up.
    bool overAShownWindow = false;
    rig.dialogs.onBox = [&](QWidget* parent) {
        overAShownWindow = parent == rig.window.get() && parent->windowHandle() && parent->windowHandle()->isExposed();
    };
    rig.window->show();
    QTRY_COMPARE_WITH_TIMEOUT(rig.dialogs.errors.size(), 1, ostrovik::test::kHangGuardMs);
    QVERIFY(overAShownWindow);
    const QString text = rig.dialogs.errors.first();
    QVERIFY2(text.contains(rig.path(QStringLiteral("bios.dat"))), qPrintable(text));
    QVERIFY2(text.contains(reason), qPrintable(text));
    QVERIFY(rig.dialogs.messages.isEmpty());

    // The machine does not run: no timer, no instruction later on.
    QVERIFY(settle(3 * rig.window->timerInterval()));
    QVERIFY(!rig.window->timerRunning());
    QCOMPARE(rig.m().clock, 0);
    QCOMPARE(rig.dialogs.errors.size(), 1);
}

void PowerOnScreenTest::aRomOfZerosAsksForTapesYetTheWindowCloses()
{
    // All zero: the machine runs NOPs through the whole address space and
    // reaches the tape-load entry again and again.
    MainWindowRig rig;
    QVERIFY(!rig.writeFile(QStringLiteral("bios.dat"), std::vector<std::uint8_t>(22 + 16384, 0)).isEmpty());
    rig.window->show();
    QTRY_VERIFY_WITH_TIMEOUT(rig.dialogs.asked.size() >= 3, ostrovik::test::kHangGuardMs); // each Cancel brings it back
    QCOMPARE(rig.dialogs.asked.front().title, ui::TapeOpenDialog::title());

    rig.window->close();
    QVERIFY(!rig.window->timerRunning());
    const std::size_t asked = rig.dialogs.asked.size();
    QVERIFY(settle(3 * rig.window->timerInterval())); // later than three ticks of a running machine
    QCOMPARE(rig.dialogs.asked.size(), asked);

    // The real dialog leaves the window's close box working: closing the
    // window ends the dialog, and the window takes input again afterwards.
    kit::setDialogs(nullptr);
    const auto restore = qScopeGuard([&] { kit::setDialogs(&rig.dialogs); });
    rig.window->show();
    bool hung = false;
    QTimer::singleShot(300, rig.window.get(), [&] { rig.window->close(); });
    QTimer::singleShot(5000, rig.window.get(), [&] {
        hung = true;
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    const auto chosen = kit::dialogs().openFileClosable(rig.window.get(), QStringLiteral("t"), rig.path(QString()),
                                                       QStringLiteral("*"));
    QVERIFY(!hung);
    QVERIFY(!chosen);
    QVERIFY(!rig.window->isVisible());
    QVERIFY(rig.window->isEnabled());
}

QTEST_MAIN(PowerOnScreenTest)
#include "power_on_screen_test.moc"
