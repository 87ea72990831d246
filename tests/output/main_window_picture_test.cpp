// The picture in the main window as the desktop shows it (what the window
// last painted, read back from its backing store): switching smoothing
// reaches it at once, whether or not the machine writes to video memory.

#include <QScreen>
#include <QtTest>

#include "support/MainWindowRig.hpp"

using namespace ostrovik;

namespace {

/// The 256 × 256 picture as the window last put it on the desktop.
QImage paintedPicture(ui::MainWindow& window)
{
    QCoreApplication::processEvents();
    output::ScreenView& view = window.screenView();
    const output::Box box = view.currentLayout().picture;
    const QPoint topLeft = view.mapTo(&window, QPoint(box.left, box.top - view.clientTop()));
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    return shot.copy(topLeft.x(), topLeft.y(), box.width(), box.height());
}

} // namespace

class MainWindowPictureTest : public QObject {
    Q_OBJECT
private slots:
    void smoothingSwitchShowsAtOnce();
};

void MainWindowPictureTest::smoothingSwitchShowsAtOnce()
{
    test::MainWindowRig rig;
    QVERIFY(rig.powerOn());
    ui::MainWindow& window = *rig.window;
    output::GdiScreen& screen = window.screen();
    QVERIFY(!screen.blurEnabled);
    QCOMPARE(test::differenceFromBitmap(paintedPicture(window), *screen.screenBitmap), QString());

    // Paused: no tick draws between the switch and the look.
    window.machine().paused = true;
    const struct {
        const char* name;
        bool smoothed;
    } steps[] = {{"smoothing on", true}, {"smoothing off", false}, {"on again", true}};
    for (const auto& step : steps) {
        window.toggleBlur();
        QCOMPARE(screen.blurEnabled != 0, step.smoothed);
        const output::FrameBitmap& shown = step.smoothed ? *screen.blurBitmap : *screen.screenBitmap;
        const QString difference = test::differenceFromBitmap(paintedPicture(window), shown);
        QVERIFY2(difference.isEmpty(), qPrintable(QString::fromUtf8(step.name) + ": " + difference));
    }
    // The smoothed picture really differs from the sharp one.
    QVERIFY(!test::differenceFromBitmap(paintedPicture(window), *screen.screenBitmap).isEmpty());
}

QTEST_MAIN(MainWindowPictureTest)
#include "main_window_picture_test.moc"
