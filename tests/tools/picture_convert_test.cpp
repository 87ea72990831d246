// The picture converter's core: which files it reads, how it turns pixels
// into screen bytes, and the tape image it writes.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "support/TempFolder.hpp"
#include "files/TapeImage.hpp"
#include "output/ColorTable.hpp"
#include "tools/PictureConvert.hpp"
#include "tools/PictureLvt.hpp"

using namespace ostrovik::tools;
namespace fs = std::filesystem;

namespace {

constexpr Rgb kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF,
              kCyan = 0x00FFFF, kYellow = 0xFFFF00, kMagenta = 0xFF00FF;

RgbPicture picture(int w, int h, const std::function<Rgb(int, int)>& colour)
{
    RgbPicture p{w, h, std::vector<Rgb>(static_cast<std::size_t>(w) * h)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.pixels[static_cast<std::size_t>(y) * w + x] = colour(x, y);
    return p;
}

/// A program folder of its own, with the output folder in it.
class ProgramDir : public ostrovik::test::TempFolder {
public:
    ProgramDir() : TempFolder("tools") { fs::create_directories(path() / "PicToLVT"); }
};

/// The whole save of the window's black-and-white button, through the files.
std::vector<std::uint8_t> saveBw(const ProgramDir& dir, const RgbPicture& p, int threshold, std::uint8_t palette)
{
    const ScreenPixels bw = stretchToScreen(convertToBW(p, threshold), p.width, p.height);
    saveWorkBitmap(dir.path(), bwIndices(bw));
    return readWholeFile(writePictureLvt(dir.path(), kBwPrefix, "test", palette));
}

std::vector<std::uint8_t> screenBytes(const std::vector<std::uint8_t>& lvt)
{
    return {lvt.begin() + 22, lvt.begin() + 22 + static_cast<std::ptrdiff_t>(kScreenImageSize)};
}

/// The colour the machine shows for pixel (x, y) of a screen image.
Rgb shown(const std::vector<std::uint8_t>& screen, std::uint8_t palette, int x, int y)
{
    const std::uint8_t b = screen[static_cast<std::size_t>(y) * 64 + x / 4];
    const auto c = ostrovik::output::computeColorIndex(
        palette, ostrovik::output::BaseColors[static_cast<std::size_t>(ostrovik::output::pixelIndex(b, x % 4))]);
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16);
}

} // namespace

TEST(PictureConvert, FileNamesChooseTheDecoderByTheirLastThreeLetters)
{
    struct Case {
        const char* path;
        std::optional<PictureKind> kind;
        const char* name;
    } cases[] = {
        {"/pics/sunset.png", PictureKind::Png, "sunset"},
        {"/pics/SUNSET.PNG", PictureKind::Png, "SUNSET"},
        {"/pics/sunset.Png", std::nullopt, "sunset"},
        {"/pics/photo.jpg", PictureKind::Jpeg, "photo"},
        {"/pics/photo.JPG", PictureKind::Jpeg, "photo"},
        {"/pics/photo.jpeg", std::nullopt, "photo."},
        {"/pics/my.dir/logo.bmp", PictureKind::Bmp, "logo"},
        {"/pics/logo.BMP", PictureKind::Bmp, "logo"},
        {"/pics/logo.gif", std::nullopt, "logo"},
        {"bmp", PictureKind::Bmp, ""},
        {"pn", std::nullopt, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(pictureKind(c.path), c.kind);
        EXPECT_EQ(pictureName(c.path), c.name);
    }
}

TEST(PictureConvert, TheThresholdComparesTheIntegerLuma)
{
    struct Case {
        Rgb colour;
        int threshold;
        int luma;
        bool white;
    } cases[] = {
        {0x808080, 50, 126, true},   // mid grey
        {0x808080, 127, 126, false},
        {0x808080, 126, 126, true},  // equal counts as white
        {kWhite, 220, 252, true},    // the weights add up to 99
        {kBlack, 50, 0, false},
        {kGreen, 50, 181, true},
        {kBlue, 50, 17, false},
        {kRed, 50, 53, true},
        {kRed, 54, 53, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.colour << std::dec << " at " << c.threshold);
        EXPECT_EQ(luma(c.colour), c.luma);
        const auto bw = convertToBW(picture(1, 1, [&](int, int) { return c.colour; }), c.threshold);
        EXPECT_EQ(bw.at(0), c.white ? 1 : 0);
    }
}

TEST(PictureConvert, StretchingTakesTheNearestPixelOfAnySize)
{
    // Two columns: the left half of the screen from the first, the right
    // half from the second.
    const std::vector<std::uint8_t> two = {1, 2};
    const ScreenPixels wide = stretchToScreen(two, 2, 1);
    EXPECT_EQ(wide[0], 1);
    EXPECT_EQ(wide[127], 1);
    EXPECT_EQ(wide[128], 2);
    EXPECT_EQ(wide[255 * 256 + 255], 2);
    // Twice the screen's size: every second pixel of every second row.
    std::vector<std::uint8_t> big(512 * 512);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<std::uint8_t>((i / 512) * 7 + (i % 512));
    const ScreenPixels half = stretchToScreen(big, 512, 512);
    EXPECT_EQ(half[1 * 256 + 3], big[2 * 512 + 6]);
    EXPECT_EQ(half[255 * 256 + 255], big[510 * 512 + 510]);
    EXPECT_THROW(stretchToScreen(two, 3, 1), std::invalid_argument);
}

TEST(PictureConvert, BlackAndWhiteSavesGiveTheScreenBytesOfTheirPicture)
{
    struct Case {
        const char* what;
        RgbPicture picture;
        std::vector<std::pair<std::size_t, std::uint8_t>> bytes; // all others 0x00 (or `rest`)
        std::uint8_t rest;
    } cases[] = {
        {"all white", picture(256, 256, [](int, int) { return kWhite; }), {}, 0xFF},
        {"all black", picture(256, 256, [](int, int) { return kBlack; }), {}, 0x00},
        {"all white, any size", picture(640, 480, [](int, int) { return kWhite; }), {}, 0xFF},
        {"white pixel top left", picture(256, 256, [](int x, int y) { return x == 0 && y == 0 ? kWhite : kBlack; }),
         {{0, 0x88}}, 0x00},
        {"white pixel top right",
         picture(256, 256, [](int x, int y) { return x == 255 && y == 0 ? kWhite : kBlack; }), {{63, 0x11}}, 0x00},
        {"white pixel (5, 3)", picture(256, 256, [](int x, int y) { return x == 5 && y == 3 ? kWhite : kBlack; }),
         {{3 * 64 + 1, 0x44}}, 0x00},
        {"white pixel bottom left",
         picture(256, 256, [](int x, int y) { return x == 0 && y == 255 ? kWhite : kBlack; }), {{255 * 64, 0x88}},
         0x00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramDir dir;
        const auto lvt = saveBw(dir, c.picture, 50, kStubPalette);
        ASSERT_EQ(lvt.size(), 16435u);
        std::vector<std::uint8_t> expected(kScreenImageSize, c.rest);
        for (auto [at, value] : c.bytes)
            expected[at] = value;
        EXPECT_EQ(screenBytes(lvt), expected);
        // The work picture is gone once the file is written.
        EXPECT_FALSE(fs::exists(dir.path() / "etalon.bmp"));
    }
}

TEST(PictureConvert, TheTapeImageCarriesHeaderStubAndPaletteOperand)
{
    ProgramDir dir;
    const auto p = picture(256, 256, [](int, int) { return kBlack; });
    const auto lvt = saveBw(dir, p, 50, 137);
    const std::vector<std::uint8_t> header = {'R', 'I', 'Z', 'I', '/', '2', '.', '0', '/', 0xD0, 'B',
                                              'M', 'P', 'L', 'V', 'T', 0x00, 0x40, 0x1C, 0x80, 0x00, 0x80};
    EXPECT_EQ(std::vector<std::uint8_t>(lvt.begin(), lvt.begin() + 22), header);
    EXPECT_EQ(std::vector<std::uint8_t>(lvt.begin() + 16408, lvt.end()),
              std::vector<std::uint8_t>(kDisplayStub.begin() + 2, kDisplayStub.end()));
    // The stub as the machine sees it: a few instructions written by hand.
    const std::pair<std::size_t, std::uint8_t> stub[] = {
        {16406, 0x3E},        {16407, 0x89},        // MVI A, the slider at 137
        {16406 + 0x15, 0xDA}, {16406 + 0x16, 0x07}, // JC 8007h
        {16406 + 0x18, 0xCD}, {16406 + 0x1A, 0xF8}, // CALL 0F803h
        {lvt.size() - 1, 0x00},
    };
    for (auto [at, value] : stub)
        EXPECT_EQ(lvt[at], value) << at;
    EXPECT_TRUE(fs::exists(dir.path() / "PicToLVT" / "BW_test.lvt"));
}

TEST(PictureConvert, ColoursGoToTheNearestOfTheFourTheScreenShows)
{
    EXPECT_EQ(workPalette()[0], kBlack);
    EXPECT_EQ(workPalette()[255], kWhite);
    struct Case {
        Rgb colour;
        std::uint8_t index; // the two bits written to the screen
    } cases[] = {
        {kBlack, 0},  {kRed, 1},     {kCyan, 2},     {kWhite, 3},    {kGreen, 2},    {kBlue, 0},
        {kYellow, 3}, {kMagenta, 1}, {0x202020, 0},  {0xE0E0E0, 3},  {0x8B0000, 1},  {0x40C0C0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.colour);
        EXPECT_EQ(nearestIndex(c.colour), c.index);
    }
}

TEST(PictureConvert, AColourSaveShowsTheFourColoursWhereThePictureHasThem)
{
    // Four bands across, four down, in the four colours the screen shows
    // under the colour file's palette, and a pattern finer than a byte.
    const Rgb four[] = {kBlack, kRed, kCyan, kWhite};
    const auto p = picture(256, 256, [&](int x, int y) {
        return y < 8 ? four[(x + y) % 4] : four[(x / 64 + y / 64) % 4];
    });
    ProgramDir dir;
    saveWorkBitmap(dir.path(), colourIndices(p));
    const auto lvt = readWholeFile(writePictureLvt(dir.path(), kColourPrefix, "bands", kStubPalette));
    EXPECT_EQ(lvt[kPaletteOperandOffset], 0xC8);
    EXPECT_TRUE(fs::exists(dir.path() / "PicToLVT" / "Color_bands.lvt"));
    const auto screen = screenBytes(lvt);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            ASSERT_EQ(shown(screen, 0xC8, x, y), p.at(x, y)) << x << ", " << y;
}

TEST(PictureConvert, FailedSavesSayWhyAndKeepTheWorkPicture)
{
    ProgramDir dir;
    const auto p = picture(4, 4, [](int, int) { return kWhite; });
    saveWorkBitmap(dir.path(), bwIndices(stretchToScreen(convertToBW(p, 50), 4, 4)));
    fs::remove(dir.path() / "PicToLVT");
    try {
        writePictureLvt(dir.path(), kBwPrefix, "x", kStubPalette);
        FAIL() << "a missing output folder went unnoticed";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("PicToLVT/BW_x.lvt"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(fs::exists(dir.path() / "etalon.bmp"));

    // A work picture cut short is refused, not read past its end.
    fs::create_directory(dir.path() / "PicToLVT");
    fs::resize_file(dir.path() / "etalon.bmp", 1078 + 65535);
    EXPECT_THROW(writePictureLvt(dir.path(), kBwPrefix, "x", kStubPalette), std::runtime_error);
    EXPECT_FALSE(fs::exists(dir.path() / "PicToLVT" / "BW_x.lvt"));
}

TEST(PictureConvert, TheWorkPictureIsAnEightBitBitmapStoredBottomRowFirst)
{
    // Index 7 at the top left of the picture lands, mirrored, at the end of
    // the last stored row.
    ScreenPixels indices(kScreenPixels, 0);
    indices[0] = 7;
    ProgramDir dir;
    saveWorkBitmap(dir.path(), indices);
    const auto bmp = readWholeFile(dir.path() / "etalon.bmp");
    ASSERT_EQ(bmp.size(), 1078u + 65536u);
    const std::pair<std::size_t, std::uint8_t> bytes[] = {
        {0, 'B'}, {1, 'M'}, {10, 0x36}, {11, 0x04}, // pixels from 1078 = 0x436
        {28, 8},  {54 + 4 * 255, 0xFF},              // eight bits; entry 255 white
        {1078 + 65535, 7}, {1078 + 255 * 256, 0},
    };
    for (auto [at, value] : bytes)
        EXPECT_EQ(bmp[at], value) << at;
}
