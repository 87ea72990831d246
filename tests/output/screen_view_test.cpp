#include <QPushButton>
#include <QSpinBox>
#include <QLabel>
#include <QtTest>

#include <memory>

#include "machine/Machine.hpp"
#include "output/ColorTable.hpp"
#include "output/GdiScreen.hpp"
#include "output/qt/ScreenView.hpp"
#include "output/qt/ScreenSizeForm.hpp"

using namespace ostrovik::output;
using ostrovik::machine::Machine;
using ostrovik::machine::NullHost;

namespace {

/// A machine with a recognisable screen: green everywhere, red at pixels
/// 4..7 of line 0 and blue at pixels 252..255 of line 255 (palette 0x0F).
struct Rig {
    Rig() : screen(m, table()), view(screen)
    {
        m.ports[0xC1] = 0x0F;
        m.videoRam.fill(0xF0);
        m.videoRam[1] = 0xFF;
        m.videoRam[16383] = 0x0F;
        m.invalidateScreen();
        view.changeRenderMode(ostrovik::output::RenderMode::Raster);
        view.resize(535, 536);
    }

    static const ColourLookupTable& table()
    {
        static const std::unique_ptr<ColourLookupTable> t = [] {
            auto made = std::make_unique<ColourLookupTable>();
            calculateColor(*made);
            return made;
        }();
        return *t;
    }

    QImage grab() { return view.grab().toImage(); }

    NullHost host;
    Machine m{host};
    GdiScreen screen;
    ScreenView view;
};

} // namespace

class ScreenViewTest : public QObject {
    Q_OBJECT
private slots:
    void centredPictureFrameAndBackground();
    void changedBytesReachTheWindow();
    void stretchLeavesTheBackground();
    void viewBelowTheToolBar();
    void noBitmapsShowsTheBackgroundOnly();
    void setupScreenSizeForm();
};

void ScreenViewTest::centredPictureFrameAndBackground()
{
    Rig rig;
    QCOMPARE(rig.view.backgroundColor(), QColor(Qt::black));
    rig.view.drawScreen(false);
    QCOMPARE(rig.view.backgroundColor(), QColor(Qt::green)); // pixel (0, 0)

    const QImage shot = rig.grab();
    QCOMPARE(shot.size(), QSize(535, 536));
    // Background round the picture, including the tool bar rows.
    QCOMPARE(shot.pixelColor(0, 0), QColor(Qt::green));
    QCOMPARE(shot.pixelColor(137, 150), QColor(Qt::green));
    QCOMPARE(shot.pixelColor(396, 409), QColor(Qt::green));
    QCOMPARE(shot.pixelColor(534, 535), QColor(Qt::green));
    // The frame: columns 138 and 395, rows 151 and 408.
    for (int y = 151; y <= 408; ++y) {
        QCOMPARE(shot.pixelColor(138, y), QColor(Qt::black));
        QCOMPARE(shot.pixelColor(395, y), QColor(Qt::black));
    }
    for (int x = 138; x <= 395; ++x) {
        QCOMPARE(shot.pixelColor(x, 151), QColor(Qt::black));
        QCOMPARE(shot.pixelColor(x, 408), QColor(Qt::black));
    }
    // The picture from (139, 152).
    QCOMPARE(shot.pixelColor(139, 152), QColor(Qt::green));
    QCOMPARE(shot.pixelColor(139 + 4, 152), QColor(Qt::red));
    QCOMPARE(shot.pixelColor(139 + 7, 152), QColor(Qt::red));
    QCOMPARE(shot.pixelColor(139 + 8, 152), QColor(Qt::green));
    QCOMPARE(shot.pixelColor(139 + 252, 152 + 255), QColor(Qt::blue));
    QCOMPARE(shot.pixelColor(394, 407), QColor(Qt::blue));
}

void ScreenViewTest::changedBytesReachTheWindow()
{
    Rig rig;
    rig.view.drawScreen(false);
    rig.m.videoRam[64 * 10] = 0x88; // pixel (0, 10) red
    rig.view.drawScreen(false);
    QCOMPARE(rig.grab().pixelColor(139, 162), QColor(Qt::red));

    rig.m.writePort(0xC1, 0xFF); // index 1 becomes magenta, index 3 cyan
    rig.view.drawScreen(false);
    QCOMPARE(rig.view.backgroundColor(), QColor(Qt::magenta));
    const QImage shot = rig.grab();
    QCOMPARE(shot.pixelColor(0, 0), QColor(Qt::magenta));
    QCOMPARE(shot.pixelColor(139, 162), QColor(Qt::cyan));

    rig.m.invalidateScreen(); // as the gray switch does

    rig.view.drawScreen(true);
    QCOMPARE(rig.grab().pixelColor(139, 152), QColor(105, 105, 105));
}

void ScreenViewTest::stretchLeavesTheBackground()
{
    Rig rig;
    rig.view.setStretch(true);
    rig.view.drawScreen(false);
    QCOMPARE(rig.view.backgroundColor(), QColor(Qt::black));

    const QImage shot = rig.grab();
    QCOMPARE(shot.pixelColor(0, 0), QColor(Qt::black));
    QCOMPARE(shot.pixelColor(534, 24), QColor(Qt::black));
    QCOMPARE(shot.pixelColor(0, 25), QColor(Qt::green));
    QCOMPARE(shot.pixelColor(12, 25), QColor(Qt::red)); // source x 4..7 spans about 8..16
    QCOMPARE(shot.pixelColor(534, 535), QColor(Qt::blue));
    QCOMPARE(shot.pixelColor(267, 280), QColor(Qt::green));

    // Back to natural size: the next frame takes the background from pixel (0, 0).
    rig.view.setStretch(false);
    rig.view.drawScreen(false);
    QCOMPARE(rig.view.backgroundColor(), QColor(Qt::green));
}

void ScreenViewTest::viewBelowTheToolBar()
{
    Rig rig;
    rig.view.resize(535, 536 - 25);
    rig.view.setClientTop(25);
    QCOMPARE(rig.view.currentLayout().picture, (Box{139, 152, 395, 408}));
    rig.view.drawScreen(false);
    const QImage shot = rig.grab();
    QCOMPARE(shot.pixelColor(138, 151 - 25), QColor(Qt::black));
    QCOMPARE(shot.pixelColor(139 + 4, 152 - 25), QColor(Qt::red));
}

void ScreenViewTest::noBitmapsShowsTheBackgroundOnly()
{
    Rig rig;
    rig.view.drawScreen(false);
    rig.view.changeRenderMode(ostrovik::output::RenderMode::OpenGl);
    rig.view.drawScreen(false);
    const QImage shot = rig.grab();
    QCOMPARE(shot.pixelColor(139, 152), QColor(Qt::green));
    QCOMPARE(shot.pixelColor(138, 151), QColor(Qt::green));
}

void ScreenViewTest::setupScreenSizeForm()
{
    int width = -1, height = -1;
    ScreenSizeForm form([&](int w, int h) {
        width = w;
        height = h;
    });
    QCOMPARE(form.windowTitle(), QStringLiteral("SetupScreenSize"));
    QCOMPARE(form.widthLabel->text(), QStringLiteral("Ширина"));
    QCOMPARE(form.heightLabel->text(), QStringLiteral("Высота"));
    QCOMPARE(form.okButton->text(), QStringLiteral("OK"));
    QCOMPARE(form.heightBox->value(), 256);
    QCOMPARE(form.widthBox->value(), 256);
    // No limits: large values pass through untouched.
    form.heightBox->setValue(100000);
    QCOMPARE(form.heightBox->value(), 100000);

    form.show();
    form.heightBox->setValue(300);
    form.widthBox->setValue(400);
    QTest::mouseClick(form.okButton, Qt::LeftButton);
    QCOMPARE(height, 300); // the left box gives the height
    QCOMPARE(width, 400);
    QVERIFY(!form.isVisible());
}

QTEST_MAIN(ScreenViewTest)
#include "screen_view_test.moc"
