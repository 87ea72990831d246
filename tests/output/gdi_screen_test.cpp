#include <gtest/gtest.h>

#include <memory>

#include "machine/Machine.hpp"
#include "output/ColorTable.hpp"
#include "output/GdiLayout.hpp"
#include "output/GdiScreen.hpp"

namespace {

using namespace ostrovik::output;
using ostrovik::machine::Machine;
using ostrovik::machine::NullHost;

constexpr ColorValue kMagenta = clRed | clBlue;
constexpr ColorValue kWhite = 0xFFFFFF;

class GdiScreenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        table = std::make_unique<ColourLookupTable>();
        calculateColor(*table);
    }
    static void TearDownTestSuite() { table.reset(); }

    GdiScreenTest() : screen(m, *table)
    {
        screen.changeRenderMode(ostrovik::output::RenderMode::Raster);
        m.ports[0xC1] = 0x0F; // index 0..3 = black, green, blue, red
        m.invalidateScreen();
    }

    FrameBitmap& bitmap() { return *screen.screenBitmap; }

    static std::unique_ptr<ColourLookupTable> table;
    NullHost host;
    Machine m{host};
    GdiScreen screen;
};

std::unique_ptr<ColourLookupTable> GdiScreenTest::table;

TEST_F(GdiScreenTest, BytesLandOnTheirLineAndColumnAsBlueGreenRed)
{
    m.videoRam[5 * 64 + 3] = 0x88;   // line 5, pixels 12..15: red, black, black, black
    m.videoRam[16383] = 0x1F;        // line 255, pixels 252..255: blue, blue, blue, red
    EXPECT_TRUE(screen.drawScreen(false));

    const std::uint8_t* line5 = bitmap().scanLine(5);
    EXPECT_EQ(line5[36], 0x00); // blue
    EXPECT_EQ(line5[37], 0x00); // green
    EXPECT_EQ(line5[38], 0xFF); // red
    EXPECT_EQ(bitmap().pixel(13, 5), clBlack);
    EXPECT_EQ(bitmap().pixel(12, 4), clBlack);
    EXPECT_EQ(bitmap().pixel(252, 255), clBlue);
    EXPECT_EQ(bitmap().pixel(255, 255), clRed);
    EXPECT_EQ(bitmap().scanLine(255)[3 * 255 + 2], 0xFF);

    for (std::size_t i = 0; i < m.videoRam.size(); ++i)
        ASSERT_EQ(m.videoShadow[i], m.videoRam[i]) << i;
}

TEST_F(GdiScreenTest, OneByteRedrawsExactlyItsFourPixels)
{
    screen.drawScreen(false);
    bitmap().bits.fill(0x5A); // anything the draw does not write keeps this
    EXPECT_FALSE(screen.drawScreen(false));
    for (std::uint8_t v : bitmap().bits)
        ASSERT_EQ(v, 0x5A);

    m.videoRam[100 * 64 + 10] = 0xFF; // line 100, pixels 40..43, all red
    EXPECT_TRUE(screen.drawScreen(false));
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const bool written = y == 100 && x >= 40 && x < 44;
            ASSERT_EQ(bitmap().pixel(x, y), written ? clRed : 0x5A5A5Au) << x << "," << y;
        }
    EXPECT_EQ(m.videoShadow[100 * 64 + 10], 0xFF);
}

TEST_F(GdiScreenTest, AChangeIsSeenAtEveryVideoByte)
{
    screen.drawScreen(false);
    for (std::size_t i = 0; i < m.videoRam.size(); ++i) {
        m.videoRam[i] = 0x80;
        ASSERT_TRUE(screen.drawScreen(false)) << i;
        const int x = static_cast<int>(i % 64) * 4, y = static_cast<int>(i / 64);
        ASSERT_EQ(bitmap().pixel(x, y), clGreen) << i;
        ASSERT_FALSE(screen.drawScreen(false)) << i;
    }
}

TEST_F(GdiScreenTest, PaletteWriteRedrawsTheWholeFrame)
{
    screen.drawScreen(false);
    EXPECT_EQ(bitmap().pixel(0, 0), clBlack);

    m.writePort(0xC1, 0x00); // index 0 becomes magenta
    EXPECT_TRUE(screen.drawScreen(false));
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            ASSERT_EQ(bitmap().pixel(x, y), kMagenta) << x << "," << y;

    m.writePort(0x01, 0xFF); // an alias of C1: index 0 becomes white
    EXPECT_TRUE(screen.drawScreen(false));
    EXPECT_EQ(bitmap().pixel(0, 0), kWhite);
    EXPECT_EQ(bitmap().pixel(255, 255), kWhite);
}

TEST_F(GdiScreenTest, GrayMode)
{
    m.videoRam[0] = 0x88;
    EXPECT_TRUE(screen.drawScreen(true));
    EXPECT_EQ(bitmap().pixel(0, 0), 76u * 0x010101u);
    for (int x = 1; x < 4; ++x)
        EXPECT_EQ(bitmap().pixel(x, 0), 0u) << x;

    // Switching gray off redraws in colour only once the screen is marked.
    EXPECT_FALSE(screen.drawScreen(false));
    EXPECT_EQ(bitmap().pixel(0, 0), 76u * 0x010101u);
    m.invalidateScreen();
    screen.drawScreen(false);
    EXPECT_EQ(bitmap().pixel(0, 0), clRed);
}

TEST_F(GdiScreenTest, RenderModes)
{
    const FrameBitmap* before = screen.screenBitmap.get();
    screen.changeRenderMode(ostrovik::output::RenderMode::DirectX3D);
    EXPECT_EQ(screen.screenBitmap.get(), before);

    screen.changeRenderMode(ostrovik::output::RenderMode::OpenGl);
    EXPECT_EQ(screen.screenBitmap, nullptr);
    EXPECT_EQ(screen.blurBitmap, nullptr);
    EXPECT_EQ(screen.shownBitmap(), nullptr);
    EXPECT_FALSE(screen.drawScreen(false));
    EXPECT_EQ(m.videoShadow[0], 0x0101); // the next raster frame still redraws all

    screen.changeRenderMode(ostrovik::output::RenderMode::Raster);
    ASSERT_NE(screen.screenBitmap, nullptr);
    ASSERT_NE(screen.blurBitmap, nullptr);
    EXPECT_TRUE(screen.drawScreen(false));
}

TEST_F(GdiScreenTest, SmoothingShowsTheCopy)
{
    // A uniform frame, which smoothing leaves as it is.
    m.videoRam.fill(0xFF);
    screen.blurEnabled = 1;
    screen.drawScreen(false);
    EXPECT_EQ(screen.shownBitmap(), screen.blurBitmap.get());
    EXPECT_EQ(screen.blurBitmap->bits, screen.screenBitmap->bits);
    EXPECT_EQ(screen.blurBitmap->pixel(7, 7), clRed);

    screen.blurEnabled = 0;
    EXPECT_EQ(screen.shownBitmap(), screen.screenBitmap.get());
}

TEST_F(GdiScreenTest, SmoothingSoftensTheCopyAndKeepsTheFrameSharp)
{
    m.videoRam.fill(0x00);
    m.videoRam[64 * 10 + 2] = 0x88; // pixel (8, 10) red, the rest black
    screen.blurEnabled = 1;
    screen.drawScreen(false);
    EXPECT_EQ(screen.screenBitmap->pixel(8, 10), clRed);
    EXPECT_EQ(screen.screenBitmap->pixel(8, 9), clBlack);
    // Red channel of the lone pixel and the one above it, by the filter's rule.
    EXPECT_EQ(screen.blurBitmap->pixel(8, 10), 71u);
    EXPECT_EQ(screen.blurBitmap->pixel(8, 9), 51u);
}

TEST(GdiLayoutTest, DesignSizeCentresThePictureInItsFrame)
{
    const GdiLayout l = gdiLayout(535, 536, false);
    EXPECT_FALSE(l.stretched);
    EXPECT_EQ(l.picture, (Box{139, 152, 395, 408}));
    EXPECT_EQ(l.frame, (Box{138, 151, 396, 409}));
}

TEST(GdiLayoutTest, StretchFillsTheAreaBelowTheToolBar)
{
    const GdiLayout l = gdiLayout(535, 536, true);
    EXPECT_TRUE(l.stretched);
    EXPECT_EQ(l.picture, (Box{0, 25, 535, 536}));
    EXPECT_EQ(l.frame, Box{});
}

TEST(GdiLayoutTest, OddAndTinyClientAreasTruncateTowardZero)
{
    // 257 div 2 = 128, (26 − 25) div 2 = 0.
    EXPECT_EQ(gdiLayout(257, 26, false).picture, (Box{0, -103, 256, 153}));
    // (0 − 25) div 2 = −12, not −13.
    EXPECT_EQ(gdiLayout(0, 0, false).frame, (Box{-129, -116, 129, 142}));
}

} // namespace
