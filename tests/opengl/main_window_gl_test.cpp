// The main window in render mode 1 on a real X display: the test ROM's
// screen drawn through OpenGL on every tick, turned gray by the gray-TV
// command, and smoothed by the smoothing command.

#include <QCoreApplication>
#include <QFile>
#include <QComboBox>
#include <QtTest>

#include "output/qt/GlScreenView.hpp"
#include "support/FreshConfig.hpp"
#include "support/MainWindowRig.hpp"
#include "support/ScriptedDialogs.hpp"
#include "ui/MainFormEmu.hpp"
#include "ui/SetUpForm.hpp"

using namespace ostrovik;

class MainWindowGlTest : public QObject {
    Q_OBJECT
private slots:
    void renderModeOneDrawsThroughOpenGl();
    void directX3DAndSavedModesShowAtOnce();
};

void MainWindowGlTest::renderModeOneDrawsThroughOpenGl()
{
    test::MainWindowRig rig;
    QVERIFY(rig.config.write("[AutoStartUpOptions]\nRenderingMode=1\nFullScreen=0\nRunSound=0\n"));
    rig.remakeWindow();
    ui::TMainFormEmu& window = *rig.window;
    QCOMPARE(window.machine().RenderMode, std::uint8_t{1});
    QVERIFY(window.glScreenView());
    QVERIFY(!window.screen().ScreenBitmap);
    window.setClientSize(535, 536);
    window.show();
    QVERIFY(QTest::qWaitFor([&] { return window.timerRunning(); }));
    QVERIFY(window.glScreenView()->hasContext());
    window.toggleFullScreen(); // whatever the stored state, the picture fills the window in this mode
    for (int i = 0; i < 200; ++i)
        window.runFrame();
    output::GlScreenView& view = *window.glScreenView();
    QCOMPARE(view.currentViewport(), (output::GlViewport{0, 0, 535, 511}));

    const QImage colour = view.grabFramebuffer();
    const QPoint corner(2, colour.height() - 2);
    QCOMPARE(colour.pixel(corner), qRgb(0, 0, 255)); // the test ROM's blue background
    // The banner's white letters stand in the top rows.
    bool white = false;
    for (int y = 0; y < 30 && !white; ++y)
        for (int x = 0; x < 200 && !white; ++x)
            white = colour.pixel(x, y) == qRgb(255, 255, 255);
    QVERIFY(white);
    // The whole picture shows below the tool bar: the top screen lines sit
    // in the top rows, pixel for pixel as the screen has them.
    const output::FrameBitmap& screen = window.aviFrame();
    for (int line = 0; line < 12; ++line)
        for (int x = 0; x < 256; ++x) {
            const QPoint at(static_cast<int>((x + 0.5) * colour.width() / 256),
                            static_cast<int>((line + 0.5) * colour.height() / 256));
            QVERIFY2(colour.pixel(at) == test::bitmapPixel(screen, x, line),
                     qPrintable(QStringLiteral("screen pixel (%1, %2)").arg(x).arg(line)));
        }

    window.toggleGrayTv();
    QCOMPARE(view.grabFramebuffer().pixel(corner), qRgb(28, 28, 28));
    QCOMPARE(view.magnificationFilter(), GL_NEAREST);
    window.toggleBlur();
    window.runFrame();
    view.grabFramebuffer();
    QCOMPARE(view.magnificationFilter(), GL_LINEAR);
    QVERIFY2(rig.dialogs.errors.isEmpty(), qPrintable(rig.dialogs.errors.join('\n')));
}

void MainWindowGlTest::directX3DAndSavedModesShowAtOnce()
{
    test::MainWindowRig rig;
    QVERIFY(rig.config.write("[AutoStartUpOptions]\nRenderingMode=2\nFullScreen=0\nRunSound=0\n"));
    rig.remakeWindow();
    ui::TMainFormEmu& window = *rig.window;
    window.setClientSize(535, 536);
    QVERIFY(rig.powerOn());

    // The blue background of the test ROM, as the presentation in use shows it.
    const auto showsTheScreen = [&window]() -> QString {
        if (output::GlScreenView* gl = window.glScreenView()) {
            // A view made now gets its context once the desktop shows it.
            if (!gl->isVisible() || !QTest::qWaitFor([gl] { return gl->hasContext(); }))
                return QStringLiteral("the OpenGL view is not up");
            const QImage shot = gl->grabFramebuffer();
            return shot.pixel(2, shot.height() - 2) == qRgb(0, 0, 255) ? QString() : QStringLiteral("not blue");
        }
        if (!window.screen().ScreenBitmap)
            return QStringLiteral("no presentation");
        return test::differenceFromBitmap(test::shownPicture(window), *window.screen().ScreenBitmap);
    };
    // "DirectX3D" stored: the OpenGL view, not a black window.
    QVERIFY(window.glScreenView());
    QCOMPARE(showsTheScreen(), QString());

    const struct {
        int index;
        bool openGl;
    } saves[] = {{0, false}, {1, true}, {0, false}, {2, true}};
    for (const auto& save : saves) {
        window.setUpForm()->showFromMenu();
        window.setUpForm()->renderingBox->setCurrentIndex(save.index);
        QVERIFY(window.setUpForm()->save());
        QCOMPARE(window.glScreenView() != nullptr, save.openGl);
        rig.runTicks(2);
        QVERIFY2(showsTheScreen().isEmpty(), qPrintable(QStringLiteral("mode %1: %2").arg(save.index).arg(showsTheScreen())));
    }
    QVERIFY2(rig.dialogs.errors.isEmpty(), qPrintable(rig.dialogs.errors.join('\n')));
}

QTEST_MAIN(MainWindowGlTest)
#include "main_window_gl_test.moc"
