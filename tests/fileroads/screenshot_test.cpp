// Screenshots: the three picture formats and the main window's command.
#include <QAction>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

#include <cstdlib>

#include "support/MainWindowRig.hpp"
#include "files/ScreenShot.hpp"
#include "output/ColorTable.hpp"
#include "output/FrameBitmap.hpp"
#include "output/qt/ScreenView.hpp"
#include "ui/MainMenu.hpp"
#include "kit/RadioGroup.hpp"
#include "ui/ScreenShots.hpp"

using namespace ostrovik;
using test::readAll;
using WindowRig = test::MainWindowRig;
using output::ColorValue;
using output::FrameBitmap;

namespace {

/// Fills video RAM with 16 × 16 squares of the four pixel indexes, with a
/// one-pixel-wide red column inside each square of the first block row, and
/// picks palette 0x0F (black, green, blue, red): sharp edges that a smoothed
/// or wrongly ordered picture would not reproduce.
void paintSquares(machine::Machine& m)
{
    static constexpr std::uint8_t kFill[4] = {0x00, 0xF0, 0x0F, 0xFF};
    for (std::size_t i = 0; i < m.videoRam.size(); ++i) {
        const std::size_t line = i >> 6, column = i & 63;
        m.videoRam[i] = kFill[(line / 16 + column / 4) % 4];
    }
    for (std::size_t column = 1; column < 64; column += 4)
        for (std::size_t line = 0; line < 16; ++line)
            m.videoRam[line * 64 + column] = 0x88; // red, then black
    m.ports[0xC1] = 0x0F;
    m.invalidateScreen();
}

ColorValue pixelOf(const QImage& image, int x, int y)
{
    const QRgb p = image.pixel(x, y);
    return static_cast<ColorValue>(qRed(p)) | static_cast<ColorValue>(qGreen(p)) << 8 |
           static_cast<ColorValue>(qBlue(p)) << 16;
}

int channelDistance(ColorValue a, ColorValue b)
{
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8)
        worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return worst;
}

/// The worst channel difference between a picture and @p frame, and the
/// mean over all channels.
struct Difference {
    int worst = 0;
    double mean = 0;
};

Difference compare(const QImage& image, const FrameBitmap& frame)
{
    Difference d;
    long long sum = 0;
    for (int y = 0; y < FrameBitmap::kHeight; ++y)
        for (int x = 0; x < FrameBitmap::kWidth; ++x) {
            const ColorValue a = pixelOf(image, x, y), b = frame.pixel(x, y);
            d.worst = std::max(d.worst, channelDistance(a, b));
            for (int shift = 0; shift < 24; shift += 8)
                sum += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
        }
    d.mean = static_cast<double>(sum) / (3.0 * FrameBitmap::kWidth * FrameBitmap::kHeight);
    return d;
}

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t le16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

/// The quantisation tables of a JPEG file, in file order.
std::vector<std::vector<int>> quantisationTables(const QByteArray& jpeg)
{
    std::vector<std::vector<int>> tables;
    const auto* b = reinterpret_cast<const std::uint8_t*>(jpeg.constData());
    const std::size_t n = static_cast<std::size_t>(jpeg.size());
    std::size_t at = 2; // after SOI
    while (at + 4 <= n && b[at] == 0xFF && b[at + 1] != 0xDA) {
        const std::size_t length = static_cast<std::size_t>(b[at + 2] << 8 | b[at + 3]);
        if (b[at + 1] == 0xDB) {
            for (std::size_t t = at + 4; t < at + 2 + length && t < n;) {
                const bool wide = (b[t] >> 4) != 0;
                ++t;
                std::vector<int> table;
                for (int k = 0; k < 64 && t < n; ++k, t += wide ? 2 : 1)
                    table.push_back(wide ? (b[t] << 8 | b[t + 1]) : b[t]);
                tables.push_back(std::move(table));
            }
        }
        at += 2 + length;
    }
    return tables;
}

/// The screenshots in ScreenShots, each checked for its name.
QStringList screenShots(WindowRig& rig, const QString& extension)
{
    QStringList paths;
    const QRegularExpression pattern(
        QStringLiteral("^screenshot_\\d\\d_\\d\\d_\\d{4}_\\d\\d_\\d\\d_\\d\\d(_2)?\\.%1$").arg(extension));
    for (const QFileInfo& f : rig.filesIn(QStringLiteral("ScreenShots")))
        if (pattern.match(f.fileName()).hasMatch())
            paths << f.filePath();
    return paths;
}

/// Chooses @p format in the settings window, takes a screenshot by the
/// command and returns the one file it wrote (empty when not exactly one).
QString shoot(WindowRig& rig, int format, const QString& extension)
{
    QDir(rig.path(QStringLiteral("ScreenShots"))).removeRecursively();
    rig.makeFolder(QStringLiteral("ScreenShots"));
    rig.window->settingsForm()->screenshotFormatGroup->setItemIndex(format);
    rig.window->takeScreenshot();
    const QStringList paths = screenShots(rig, extension);
    return paths.size() == 1 && rig.filesIn(QStringLiteral("ScreenShots")).size() == 1 ? paths.first() : QString();
}

QImage loadPng(const QString& path)
{
    QImage image;
    image.load(path, "png");
    return image;
}

} // namespace

class ScreenShotTest : public QObject {
    Q_OBJECT
private slots:
    void pngReproducesTheFramePixelForPixel();
    void bmpIsA24BitBottomUpBitmap();
    void jpegIsTheFirstRunChoiceAtQuality100();
    void noFormatChosenWritesNothing();
    void twoInOneSecondKeepBoth();
    void smoothingOnStillSavesTheSharpFrame();
    void grayModeSavesGray();
    void openGlModeDecodesAFrameForThePicture();
    void missingFolderIsReported();
    void menuItemAndToolButtonTakeScreenshots();
};

void ScreenShotTest::pngReproducesTheFramePixelForPixel()
{
    WindowRig rig;
    paintSquares(rig.m());
    rig.window->drawScreen();

    const QImage image = loadPng(shoot(rig, files::kScreenShotPng, QStringLiteral("png")));
    QCOMPARE(image.size(), QSize(256, 256));
    QCOMPARE(compare(image, *rig.window->screen().screenBitmap).worst, 0);
    QVERIFY(rig.dialogs.errors.isEmpty());
}

void ScreenShotTest::bmpIsA24BitBottomUpBitmap()
{
    WindowRig rig;
    paintSquares(rig.m());
    rig.window->drawScreen();
    const FrameBitmap& frame = *rig.window->screen().screenBitmap;

    const std::vector<std::uint8_t> bmp = readAll(shoot(rig, files::kScreenShotBmp, QStringLiteral("bmp")));
    QVERIFY(bmp.size() >= 54);
    QCOMPARE(bmp[0], 'B');
    QCOMPARE(bmp[1], 'M');
    const std::uint32_t dataAt = le32(bmp, 10);
    QCOMPARE(le32(bmp, 2), static_cast<std::uint32_t>(bmp.size()));
    QCOMPARE(le32(bmp, 14), 40u);      // info header
    QCOMPARE(le32(bmp, 18), 256u);     // width
    QCOMPARE(le32(bmp, 22), 256u);     // height: positive, bottom line first
    QCOMPARE(le16(bmp, 26), 1);        // planes
    QCOMPARE(le16(bmp, 28), 24);       // bits per pixel
    QCOMPARE(le32(bmp, 30), 0u);       // no compression
    QCOMPARE(bmp.size(), static_cast<std::size_t>(dataAt) + 256 * 768);
    for (int y = 0; y < 256; ++y) {
        const std::uint8_t* want = frame.scanLine(y);
        const std::uint8_t* got = bmp.data() + dataAt + static_cast<std::size_t>(255 - y) * 768;
        QVERIFY2(std::equal(want, want + 768, got), qPrintable(QStringLiteral("line %1").arg(y)));
    }
}

void ScreenShotTest::jpegIsTheFirstRunChoiceAtQuality100()
{
    WindowRig rig;
    paintSquares(rig.m());
    rig.window->drawScreen();
    const FrameBitmap& frame = *rig.window->screen().screenBitmap;

    QCOMPARE(rig.window->screenShotFormat(), files::kScreenShotJpeg);
    const QString path = shoot(rig, rig.window->screenShotFormat(), QStringLiteral("jpg"));
    QVERIFY(!path.isEmpty());

    // Quality 100 makes every quantisation step 1.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const auto tables = quantisationTables(file.readAll());
    QVERIFY(!tables.empty());
    for (const auto& table : tables) {
        QCOMPARE(table.size(), std::size_t{64});
        for (int q : table)
            QCOMPARE(q, 1);
    }

    // Decoded by FFmpeg's own decoder, not the library that wrote it.
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty())
        QSKIP("ffmpeg is not installed");
    QProcess decode;
    decode.start(ffmpeg, {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), path,
                          QStringLiteral("-f"), QStringLiteral("rawvideo"), QStringLiteral("-pix_fmt"),
                          QStringLiteral("rgb24"), QStringLiteral("-")});
    QVERIFY(decode.waitForFinished(30000));
    QCOMPARE(decode.exitCode(), 0);
    const QByteArray raw = decode.readAllStandardOutput();
    QCOMPARE(raw.size(), 256 * 256 * 3);
    const QImage decoded(reinterpret_cast<const uchar*>(raw.constData()), 256, 256, 768, QImage::Format_RGB888);
    const Difference d = compare(decoded, frame);
    // Colour is kept at half resolution, so the one-pixel red columns blur;
    // the picture as a whole stays within a step or two.
    QVERIFY2(d.mean < 3.0, qPrintable(QString::number(d.mean)));
    QVERIFY2(d.worst < 160, qPrintable(QString::number(d.worst)));
}

void ScreenShotTest::noFormatChosenWritesNothing()
{
    WindowRig rig;
    rig.window->drawScreen();
    QVERIFY(shoot(rig, -1, QStringLiteral("jpg")).isEmpty());
    QVERIFY(rig.filesIn(QStringLiteral("ScreenShots")).isEmpty());
    QVERIFY(rig.dialogs.errors.isEmpty());
    QVERIFY(!ui::saveScreenShot(*rig.window->screen().screenBitmap, 3, rig.m().programDir));
    QVERIFY(rig.filesIn(QStringLiteral("ScreenShots")).isEmpty());
}

void ScreenShotTest::twoInOneSecondKeepBoth()
{
    WindowRig rig;
    paintSquares(rig.m());
    rig.window->drawScreen();
    const QString first = shoot(rig, files::kScreenShotPng, QStringLiteral("png"));
    QVERIFY(!first.isEmpty());
    rig.m().videoRam.fill(0xFF);
    rig.window->drawScreen();
    rig.window->takeScreenshot();

    const QStringList both = screenShots(rig, QStringLiteral("png"));
    QCOMPARE(both.size(), 2);
    const QString second = both.first() == first ? both.last() : both.first();
    // Within one second the second file takes the first one's name with "_2".
    if (QFileInfo(second).completeBaseName().startsWith(QFileInfo(first).completeBaseName()))
        QCOMPARE(QFileInfo(second).completeBaseName(), QFileInfo(first).completeBaseName() + QStringLiteral("_2"));
    QCOMPARE(pixelOf(loadPng(first), 0, 0), output::clBlack);
    QCOMPARE(pixelOf(loadPng(second), 0, 0), output::clRed);
}

void ScreenShotTest::smoothingOnStillSavesTheSharpFrame()
{
    WindowRig rig;
    paintSquares(rig.m());
    rig.window->screen().blurEnabled = 1;
    rig.window->drawScreen();
    // Whatever the smoothing makes of it, the shown copy differs from the frame.
    rig.window->screen().blurBitmap->bits.fill(0x80);

    const QImage image = loadPng(shoot(rig, files::kScreenShotPng, QStringLiteral("png")));
    QCOMPARE(image.size(), QSize(256, 256));
    QCOMPARE(compare(image, *rig.window->screen().screenBitmap).worst, 0);
}

/// Checks that @p image is the squares of paintSquares as a black-and-white
/// set shows them.
static void expectGraySquares(const QImage& image)
{
    QCOMPARE(image.size(), QSize(256, 256));
    const ColorValue levels[] = {0, output::grayTv(output::clGreen), output::grayTv(output::clBlue),
                                 output::grayTv(output::clRed)};
    for (int square = 0; square < 4; ++square)
        QCOMPARE(pixelOf(image, 8 + 16 * square, 24), levels[(1 + square) % 4]);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const QRgb p = image.pixel(x, y);
            QVERIFY(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p));
        }
}

void ScreenShotTest::grayModeSavesGray()
{
    WindowRig rig;
    paintSquares(rig.m());
    rig.window->drawScreen();
    rig.window->toggleGrayTv();
    QVERIFY(rig.window->grayTV());
    expectGraySquares(loadPng(shoot(rig, files::kScreenShotPng, QStringLiteral("png"))));

    // Likewise with no frame bitmap to take it from.
    rig.window->session().setRenderMode(output::RenderMode::OpenGl);
    expectGraySquares(loadPng(shoot(rig, files::kScreenShotPng, QStringLiteral("png"))));
}

void ScreenShotTest::openGlModeDecodesAFrameForThePicture()
{
    WindowRig rig;
    paintSquares(rig.m());
    rig.window->drawScreen();
    const FrameBitmap sharp = *rig.window->screen().screenBitmap;

    // The OpenGL presentation keeps no frame bitmap.
    rig.window->session().setRenderMode(output::RenderMode::OpenGl);
    QVERIFY(!rig.window->screen().screenBitmap);
    const auto shadow = rig.m().videoShadow;

    const QImage image = loadPng(shoot(rig, files::kScreenShotPng, QStringLiteral("png")));
    QVERIFY(rig.dialogs.errors.isEmpty());
    QCOMPARE(image.size(), QSize(256, 256));
    QCOMPARE(compare(image, sharp).worst, 0);
    // The presentation's redraw bookkeeping is not disturbed.
    QVERIFY(rig.m().videoShadow == shadow);
}

void ScreenShotTest::missingFolderIsReported()
{
    WindowRig rig;
    rig.window->drawScreen();
    rig.window->takeScreenshot();
    QCOMPARE(rig.dialogs.errors.size(), 1);
    const QString error = rig.dialogs.errors.first();
    QVERIFY2(error.contains(rig.path(QStringLiteral("ScreenShots/screenshot_"))), qPrintable(error));
    QVERIFY2(error.contains(QStringLiteral("No such file or directory")), qPrintable(error));
    QVERIFY(!QFileInfo::exists(rig.path(QStringLiteral("ScreenShots"))));
}

void ScreenShotTest::menuItemAndToolButtonTakeScreenshots()
{
    WindowRig rig;
    paintSquares(rig.m());
    rig.window->drawScreen();
    rig.window->settingsForm()->screenshotFormatGroup->setItemIndex(files::kScreenShotPng);
    for (const ui::MenuItem which : {ui::menu::Screenshot, ui::menu::ScreenshotButton}) {
        QDir(rig.path(QStringLiteral("ScreenShots"))).removeRecursively();
        rig.makeFolder(QStringLiteral("ScreenShots"));
        QAction* action = rig.window->menus().item(which);
        QVERIFY(action);
        action->trigger();
        const QStringList shots = screenShots(rig, QStringLiteral("png"));
        QCOMPARE(shots.size(), 1);
        QCOMPARE(compare(loadPng(shots.first()), *rig.window->screen().screenBitmap).worst, 0);
    }
}

QTEST_MAIN(ScreenShotTest)
#include "screenshot_test.moc"
