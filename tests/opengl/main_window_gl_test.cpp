// The main window in render mode 1 on a real X display: the test ROM's
// screen drawn through OpenGL on every tick, turned gray by the gray-TV
// command, and smoothed by the smoothing command; a snapshot, and a step of
// the step debugger, shown at once while the machine is paused; the window
// left where it was, and maximised if it was, by the first switch into OpenGL.

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QComboBox>
#include <QMenu>
#include <QScreen>
#include <QWindow>
#include <QtTest>

#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "debugger/qt/StepDebuggerForm.hpp"
#include "files/Snapshot.hpp"
#include "output/qt/GlScreenView.hpp"
#include "support/FreshConfig.hpp"
#include "support/MainWindowRig.hpp"
#include "support/ScriptedDialogs.hpp"
#include "ui/MainWindow.hpp"
#include "ui/MainMenu.hpp"
#include "ui/MenuItems.hpp"
#include "ui/Mru.hpp"
#include "ui/SettingsForm.hpp"

using namespace ostrovik;

namespace {

/// The main window made anew from a config.ini that stores render mode
/// @p stored, with the sound off, at its design size.
bool remakeInRenderMode(test::MainWindowRig& rig, int stored)
{
    if (!rig.config.write("[AutoStartUpOptions]\nRenderingMode=" + QByteArray::number(stored) +
                          "\nFullScreen=0\nRunSound=0\n"))
        return false;
    rig.remakeWindow();
    rig.window->setClientSize(ui::MainWindow::kDesignClientWidth, ui::MainWindow::kDesignClientHeight);
    return true;
}

} // namespace

class MainWindowGlTest : public QObject {
    Q_OBJECT
private slots:
    void renderModeOneDrawsThroughOpenGl();
    void directX3DAndSavedModesShowAtOnce();
    void snapshotIsShownAtOnceWhilePaused();
    void firstSwitchToOpenGlLeavesTheWindowInPlace();
};

void MainWindowGlTest::renderModeOneDrawsThroughOpenGl()
{
    test::MainWindowRig rig;
    QVERIFY(remakeInRenderMode(rig, 1));
    ui::MainWindow& window = *rig.window;
    QCOMPARE(window.session().renderMode(), output::RenderMode::OpenGl);
    QVERIFY(window.glScreenView());
    QVERIFY(!window.screen().screenBitmap);
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
    const output::FrameBitmap& screen = window.session().recordingFrame(window.grayTV());
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
    QVERIFY(remakeInRenderMode(rig, 2));
    ui::MainWindow& window = *rig.window;
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
        if (!window.screen().screenBitmap)
            return QStringLiteral("no presentation");
        return test::differenceFromBitmap(test::shownPicture(window), *window.screen().screenBitmap);
    };
    // "DirectX3D" stored: the OpenGL view, not a black window.
    QVERIFY(window.glScreenView());
    QCOMPARE(showsTheScreen(), QString());

    const struct {
        int index;
        bool openGl;
    } saves[] = {{0, false}, {1, true}, {0, false}, {2, true}};
    for (const auto& save : saves) {
        window.settingsForm()->showFromMenu();
        window.settingsForm()->renderingBox->setCurrentIndex(save.index);
        QVERIFY(window.settingsForm()->save());
        QCOMPARE(window.glScreenView() != nullptr, save.openGl);
        rig.runTicks(2);
        QVERIFY2(showsTheScreen().isEmpty(), qPrintable(QStringLiteral("mode %1: %2").arg(save.index).arg(showsTheScreen())));
    }
    QVERIFY2(rig.dialogs.errors.isEmpty(), qPrintable(rig.dialogs.errors.join('\n')));
}

void MainWindowGlTest::snapshotIsShownAtOnceWhilePaused()
{
    test::MainWindowRig rig;
    QVERIFY(remakeInRenderMode(rig, 1));
    ui::MainWindow& window = *rig.window;
    QVERIFY(rig.powerOn());
    output::GlScreenView* view = window.glScreenView();
    QVERIFY(view);
    QVERIFY(QTest::qWaitFor([view] { return view->hasContext(); }));
    window.menus().item(ui::menu::Pause)->trigger();
    QCOMPARE(window.machine().paused, std::uint8_t{1});

    // What the desktop shows of the picture's bottom-left pixel: the window
    // as the X server holds it, not a frame rendered for the asking.
    const auto shownCorner = [&window, view] {
        const QPoint at = view->mapTo(&window, QPoint(2, view->height() - 2));
        return window.QWidget::screen()->grabWindow(window.winId()).toImage().pixel(at) & 0xFFFFFF;
    };
    const auto shownScreen = [&] {
        return test::bitmapPixel(window.session().recordingFrame(window.grayTV()), 2, 253) & 0xFFFFFF;
    };
    QTRY_COMPARE(shownCorner(), shownScreen());

    const struct {
        const char* road;
        std::function<void(const QString& path)> load;
    } roads[] = {
        {"File → Open",
         [&](const QString& path) {
             rig.dialogs.answers << path;
             window.menus().item(ui::menu::OpenFile)->trigger();
         }},
        {"a recent file",
         [&](const QString&) { window.fileMenu()->actions().at(ui::kFixedFileMenuItems)->trigger(); }},
        {"handed over by a second copy",
         [&](const QString& path) { window.openHandedOverFile(QFile::encodeName(path)); }},
        // Not a load: the same new picture, shown by the step that follows it.
        // The window stays hidden, so that it covers nothing of the picture.
        {"a step of the step debugger",
         [&](const QString&) {
             for (std::uint8_t& b : window.machine().videoRam)
                 b = static_cast<std::uint8_t>(~b);
             debugger::StepDebuggerForm(window.windowHost()).step();
         }},
    };
    for (const auto& road : roads) {
        // The machine as it stands with every pixel in another colour.
        auto snapshot = std::make_unique<files::SavSnapshot>();
        files::captureSnapshot(window.machine(), *snapshot);
        for (std::uint8_t& b : snapshot->videoRam)
            b = static_cast<std::uint8_t>(~b);
        std::vector<std::uint8_t> bytes(files::kSavSize);
        files::serialiseSavSnapshot(*snapshot, std::span<std::uint8_t, files::kSavSize>(bytes.data(), bytes.size()));
        const QString path = rig.writeFile(QStringLiteral("inverted.sav"), bytes);
        QVERIFY(!path.isEmpty());
        const QRgb before = shownCorner();

        road.load(path);
        QVERIFY2(rig.dialogs.errors.isEmpty() && rig.dialogs.messages.isEmpty(), road.road);
        QCOMPARE(window.machine().paused, std::uint8_t{1});
        QVERIFY2(shownScreen() != before, road.road);
        QTRY_VERIFY2(shownCorner() == shownScreen(), road.road);
    }
}

void MainWindowGlTest::firstSwitchToOpenGlLeavesTheWindowInPlace()
{
    const struct {
        const char* what;
        Qt::WindowStates states;
    } cases[] = {
        {"moved", Qt::WindowNoState},
        {"moved, then maximised", Qt::WindowMaximized},
    };
    for (const auto& c : cases) {
        test::MainWindowRig rig;
        QVERIFY(remakeInRenderMode(rig, 0));
        ui::MainWindow& window = *rig.window;
        QVERIFY(rig.powerOn());
        QVERIFY(!window.glScreenView());

        // Moved from outside, as a user drags it: the widget itself never asked
        // for a place, it learns the new one from the X server.
        const QPoint place(100, 40);
        window.windowHandle()->setPosition(place);
        const auto placed = [&window, place] {
            return window.windowHandle()->position() == place && window.pos() == place;
        };
        QTRY_VERIFY2(placed(), c.what);
        const QRect normal = window.geometry();
        window.setWindowState(c.states);
        QTRY_COMPARE(window.windowHandle()->windowStates(), c.states);

        window.settingsForm()->showFromMenu();
        window.settingsForm()->renderingBox->setCurrentIndex(1);
        QVERIFY(window.settingsForm()->save());
        output::GlScreenView* view = window.glScreenView();
        QVERIFY(view);
        QVERIFY(QTest::qWaitFor([view] { return view->hasContext(); }));
        QVERIFY(test::settle());
        const QPoint native = window.windowHandle()->position();
        QVERIFY2(placed(), qPrintable(QStringLiteral("%1: at (%2, %3)").arg(c.what).arg(native.x()).arg(native.y())));
        // The new native window has the old one's state, and restores to
        // the size and place the window had before it was maximised.
        QVERIFY2(window.windowState() == c.states && window.windowHandle()->windowStates() == c.states, c.what);
        QCOMPARE(window.normalGeometry(), normal);
        window.setWindowState(Qt::WindowNoState);
        QTRY_COMPARE(window.windowHandle()->windowStates(), Qt::WindowNoState);
        QCOMPARE(window.geometry(), normal);
        QVERIFY2(rig.dialogs.errors.isEmpty(), qPrintable(rig.dialogs.errors.join('\n')));
    }
}

QTEST_MAIN(MainWindowGlTest)
#include "main_window_gl_test.moc"
