// The main window in render mode 1 on a real X display: the test ROM's
// screen drawn through OpenGL on every tick, turned gray by the gray-TV
// command, and smoothed by the smoothing command.

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "output/qt/GlScreenView.hpp"
#include "support/FreshConfig.hpp"
#include "support/ScriptedDialogs.hpp"
#include "ui/MainFormEmu.hpp"
#include "ui/SetUpForm.hpp"

using namespace ostrovik;

class MainWindowGlTest : public QObject {
    Q_OBJECT
private slots:
    void renderModeOneDrawsThroughOpenGl();
};

void MainWindowGlTest::renderModeOneDrawsThroughOpenGl()
{
    test::FreshConfig config;
    QVERIFY(config.write("[AutoStartUpOptions]\nRenderingMode=1\nFullScreen=0\nRunSound=0\n"));
    test::ScriptedDialogs dialogs;
    QTemporaryDir folder;
    QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + "/bios.dat", folder.filePath("bios.dat")));

    ui::TMainFormEmu window{QStringList{}};
    window.setSetUpForm(new ui::TSetUpForm(&window));
    window.machine().ProgramDir = QFile::encodeName(folder.path()).toStdString();
    QCOMPARE(window.machine().RenderMode, std::uint8_t{1});
    QVERIFY(window.glScreenView());
    QVERIFY(!window.screen().ScreenBitmap);
    window.setClientSize(535, 536);
    window.show();
    QVERIFY(QTest::qWaitFor([&] { return window.timerRunning(); }));
    QVERIFY(window.glScreenView()->hasContext());
    window.FullScreen1Click(); // whatever the stored state, the picture fills the window in this mode
    for (int i = 0; i < 200; ++i)
        window.TimerMainTimer1();
    output::GlScreenView& view = *window.glScreenView();
    QCOMPARE(view.currentViewport(), (output::GlViewport{0, 0, 535, 516}));

    const QImage colour = view.grabFramebuffer();
    const QPoint corner(2, colour.height() - 2);
    QCOMPARE(colour.pixel(corner), qRgb(0, 0, 255)); // the test ROM's blue background
    // The banner's white letters stand in the top rows.
    bool white = false;
    for (int y = 0; y < 30 && !white; ++y)
        for (int x = 0; x < 200 && !white; ++x)
            white = colour.pixel(x, y) == qRgb(255, 255, 255);
    QVERIFY(white);

    window.N7Click();
    QCOMPARE(view.grabFramebuffer().pixel(corner), qRgb(28, 28, 28));
    QCOMPARE(view.magnificationFilter(), GL_NEAREST);
    window.N9Click();
    window.TimerMainTimer1();
    view.grabFramebuffer();
    QCOMPARE(view.magnificationFilter(), GL_LINEAR);
    QVERIFY2(dialogs.errors.isEmpty(), qPrintable(dialogs.errors.join('\n')));
}

QTEST_MAIN(MainWindowGlTest)
#include "main_window_gl_test.moc"
