// The main window's presentation on a bare window: the render modes the
// settings window stores, the OpenGL view made once and kept, hidden, while
// another mode shows.

#include <QWidget>
#include <QtTest>

#include "output/qt/GlScreenView.hpp"
#include "output/qt/ScreenView.hpp"
#include "session/EmulatorSession.hpp"
#include "support/ScriptedWaveOut.hpp"
#include "support/TestHost.hpp"
#include "ui/ScreenPresentation.hpp"

using namespace ostrovik;
using output::RenderMode;

class ScreenPresentationTest : public QObject {
    Q_OBJECT
private slots:
    void storedModesSwitchTheViews();
};

void ScreenPresentationTest::storedModesSwitchTheViews()
{
    test::TestHost host;
    test::ScriptedWaveOut waveOut;
    session::EmulatorSession session(host, waveOut);
    QWidget window;
    ui::ScreenPresentation presentation(session, window, 25);
    presentation.changeRenderMode(session.renderMode());
    QCOMPARE(presentation.screenView().objectName(), QStringLiteral("ScreenView"));
    QCOMPARE(presentation.screenView().clientTop(), 25);
    QVERIFY(!presentation.glScreenView());
    QVERIFY(session.screen().screenBitmap);

    const struct {
        const char* name;
        int stored;
        RenderMode presented;
        bool glShown;
    } steps[] = {
        {"OpenGL", 1, RenderMode::OpenGl, true},
        {"raster again", 0, RenderMode::Raster, false},
        {"DirectX3D is shown through OpenGL", 2, RenderMode::OpenGl, true},
        {"an unknown mode shows nothing", 7, static_cast<RenderMode>(7), false},
        {"a value outside a byte is the first-run mode", 300, RenderMode::Raster, false},
    };
    output::GlScreenView* made = nullptr;
    for (const auto& step : steps) {
        presentation.applyRenderMode(step.stored, false);
        QVERIFY2(session.renderMode() == step.presented, step.name);
        QVERIFY2((presentation.glScreenView() != nullptr) == (step.presented == RenderMode::OpenGl), step.name);
        // The desktop's OpenGL does not always take a second context for
        // the same window: there is only ever the one view.
        const auto views = window.findChildren<output::GlScreenView*>();
        QVERIFY2(views.size() == 1, step.name);
        if (!made)
            made = views.first();
        QVERIFY2(views.first() == made, step.name);
        QCOMPARE(made->objectName(), QStringLiteral("GlScreenView"));
        QVERIFY2(made->isVisibleTo(&window) == step.glShown, step.name);
        QVERIFY2((session.screen().screenBitmap != nullptr) == (step.presented == RenderMode::Raster), step.name);
    }
}

QTEST_MAIN(ScreenPresentationTest)
#include "screen_presentation_test.moc"
