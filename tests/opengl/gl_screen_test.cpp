// The OpenGL presentation on a real X display with Mesa: the picture read
// back from the frame buffer, its orientation, the viewport, the texture
// filter chosen by smoothing, and gray.

#include <QApplication>
#include <QImage>
#include <QtTest>

#include <memory>

#include "machine/Host.hpp"
#include "machine/Machine.hpp"
#include "output/ColorTable.hpp"
#include "output/qt/GlScreenView.hpp"

using namespace ostrovik;

namespace {

constexpr int kClientWidth = 535, kClientHeight = 536, kToolBar = 25;

struct Rig {
    Rig() : table(std::make_unique<output::ColourLookupTable>())
    {
        output::calculateColor(*table);
        m.ports[0xC1] = 0x0F; // black, green, blue, red
        m.videoRam.fill(0x00);
        view = std::make_unique<output::GlScreenView>(m, *table, blur);
        view->setClientTop(kToolBar);
        view->resize(kClientWidth, kClientHeight - kToolBar);
        view->show();
    }
    bool ready() { return QTest::qWaitForWindowExposed(view.get()) && view->hasContext(); }
    /// The widget's picture, as the frame buffer holds it after one frame.
    QImage frame(bool gray = false)
    {
        view->drawScreenGl(gray);
        // Grabbing draws the pending frame and reads the pixels back.
        return view->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    }
    /// The widget row that shows the middle of screen line @p line: the
    /// viewport is the area below the tool bar, the widget itself.
    static int rowOf(int line)
    {
        return static_cast<int>((line + 0.5) * (kClientHeight - kToolBar) / 256.0);
    }
    static int columnOf(int pixel) { return static_cast<int>((pixel + 0.5) * kClientWidth / 256.0); }

    machine::NullHost host;
    machine::Machine m{host};
    std::unique_ptr<output::ColourLookupTable> table;
    std::uint8_t blur = 0;
    std::unique_ptr<output::GlScreenView> view;
};

} // namespace

class GlScreenTest : public QObject {
    Q_OBJECT
private slots:
    void viewportLeavesOutTheToolBarOnly();
    void pictureIsUprightAndInRgb();
    void smoothingChoosesTheFilter();
};

void GlScreenTest::viewportLeavesOutTheToolBarOnly()
{
    Rig r;
    QVERIFY(r.ready());
    // Screen line 0 red, line 1 green: the top row of the view is line 0,
    // none of it hidden above the view's edge.
    for (int i = 0; i < 64; ++i) {
        r.m.videoRam[i] = 0xFF;
        r.m.videoRam[64 + i] = 0xF0;
    }
    const QImage image = r.frame();
    QCOMPARE(r.view->currentViewport(), (output::GlViewport{0, 0, 535, 511}));
    QCOMPARE(image.pixel(100, 0), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(100, Rig::rowOf(1)), qRgb(0, 255, 0));
}

void GlScreenTest::pictureIsUprightAndInRgb()
{
    Rig r;
    QVERIFY(r.ready());
    // Screen line 100 red; pixel 0 of line 200 green, the rest of it black;
    // the last line blue.
    for (int i = 0; i < 64; ++i) {
        r.m.videoRam[100 * 64 + i] = 0xFF; // every pixel index 3
        r.m.videoRam[255 * 64 + i] = 0x0F; // index 2
    }
    r.m.videoRam[200 * 64] = 0x80; // pixel 0 index 1, pixels 1-3 black
    const QImage image = r.frame();
    QCOMPARE(image.size(), QSize(kClientWidth, kClientHeight - kToolBar));

    const struct {
        const char* name;
        int x, y;
        QRgb colour;
    } spots[] = {
        {"line 100 is red", Rig::columnOf(128), Rig::rowOf(100), qRgb(255, 0, 0)},
        {"line 98 is black", Rig::columnOf(128), Rig::rowOf(98), qRgb(0, 0, 0)},
        {"pixel 0 of line 200 is green", Rig::columnOf(0), Rig::rowOf(200), qRgb(0, 255, 0)},
        {"pixel 1 of line 200 is black", Rig::columnOf(1) + 1, Rig::rowOf(200), qRgb(0, 0, 0)},
        {"the last line is blue, at the bottom", Rig::columnOf(10), kClientHeight - kToolBar - 1, qRgb(0, 0, 255)},
        {"the right edge of line 100", kClientWidth - 1, Rig::rowOf(100), qRgb(255, 0, 0)},
    };
    for (const auto& s : spots)
        QVERIFY2(image.pixel(s.x, s.y) == s.colour,
                 qPrintable(QStringLiteral("%1: (%2, %3) is %4").arg(s.name).arg(s.x).arg(s.y).arg(image.pixel(s.x, s.y) & 0xFFFFFF, 6, 16)));

    // Gray: red becomes 76 in every channel.
    const QImage gray = r.frame(true);
    QCOMPARE(gray.pixel(Rig::columnOf(128), Rig::rowOf(100)), qRgb(76, 76, 76));
}

void GlScreenTest::smoothingChoosesTheFilter()
{
    Rig r;
    QVERIFY(r.ready());
    // One red pixel: sharp, its neighbour stays black; smoothed, it bleeds.
    r.m.videoRam[128 * 64 + 32] = 0x88; // pixel 128 of line 128
    const int x = Rig::columnOf(129) + 1, y = Rig::rowOf(128);
    QCOMPARE(r.frame().pixel(x, y), qRgb(0, 0, 0));
    QCOMPARE(r.view->magnificationFilter(), GL_NEAREST);
    r.blur = 1;
    const QRgb blended = r.frame().pixel(Rig::columnOf(128) + 1, y);
    QCOMPARE(r.view->magnificationFilter(), GL_LINEAR);
    QVERIFY2(qRed(blended) > 0 && qRed(blended) < 255, qPrintable(QString::number(blended, 16)));

    // The edges do not wrap round: a white top line leaves the bottom row black.
    r.m.videoRam.fill(0x00);
    r.m.ports[0xC1] = 0xFF; // index 0 white
    for (int i = 64; i < 16384; ++i)
        r.m.videoRam[i] = 0xF0; // index 1, magenta, below the top line
    const QImage edges = r.frame();
    QCOMPARE(edges.pixel(100, edges.height() - 1), qRgb(255, 0, 255));
}

QTEST_MAIN(GlScreenTest)
#include "gl_screen_test.moc"
