// The Qt-free parts: decoding a frame for a screenshot, naming and writing
// new files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <vector>

#include "support/TempFolder.hpp"
#include "files/NewFile.hpp"
#include "files/ScreenShot.hpp"
#include "machine/Machine.hpp"
#include "output/ColorTable.hpp"
#include "output/FrameDecode.hpp"
#include "output/GdiScreen.hpp"

namespace {

using namespace ostrovik;
namespace fs = std::filesystem;

const output::ColourLookupTable& colourTable()
{
    static const std::unique_ptr<output::ColourLookupTable> table = [] {
        auto made = std::make_unique<output::ColourLookupTable>();
        output::calculateColor(*made);
        return made;
    }();
    return *table;
}

TEST(FrameDecode, MatchesTheRasterPresentationInColourAndGray)
{
    machine::NullHost host;
    machine::Machine m(host);
    std::uint32_t seed = 12345;
    for (auto& b : m.videoRam) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(seed >> 16);
    }
    for (int palette : {0x0F, 0x00, 0x5A, 0xFF}) {
        for (bool gray : {false, true}) {
            m.ports[0xC1] = static_cast<std::uint8_t>(palette);
            output::GdiScreen screen(m, colourTable());
            screen.changeRenderMode(ostrovik::output::RenderMode::Raster);
            m.invalidateScreen();
            screen.drawScreen(gray);

            const auto shadow = m.videoShadow;
            auto decoded = std::make_unique<output::FrameBitmap>();
            decoded->bits.fill(0xAA);
            output::decodeFrame(m, colourTable(), gray, *decoded);
            EXPECT_TRUE(decoded->bits == screen.screenBitmap->bits) << "palette " << palette << " gray " << gray;
            EXPECT_TRUE(m.videoShadow == shadow);
        }
    }
}

class NewFileTest : public ::testing::Test {
protected:
    static std::vector<std::uint8_t> contents(const fs::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    ostrovik::test::TempFolder folder{"fileroads"};
    const fs::path& dir = folder.path();
};

TEST_F(NewFileTest, SameNameAgainGetsANumberInsteadOfReplacing)
{
    const std::vector<std::uint8_t> one{1, 2, 3}, two{4, 5}, three{6};
    const fs::path wanted = dir / "screenshot_03_03_2024_14_05_09.png";
    EXPECT_EQ(files::writeNewFile(wanted, one, "screenshot"), wanted.string());
    EXPECT_EQ(files::writeNewFile(wanted, two, "screenshot"), (dir / "screenshot_03_03_2024_14_05_09_2.png").string());
    EXPECT_EQ(files::writeNewFile(wanted, three, "screenshot"), (dir / "screenshot_03_03_2024_14_05_09_3.png").string());
    EXPECT_EQ(contents(wanted), one);
    EXPECT_EQ(contents(dir / "screenshot_03_03_2024_14_05_09_2.png"), two);
    EXPECT_EQ(contents(dir / "screenshot_03_03_2024_14_05_09_3.png"), three);
}

TEST_F(NewFileTest, MissingFolderNamesThePathAndTheReason)
{
    const fs::path wanted = dir / "ScreenShots" / "screenshot_x.bmp";
    try {
        files::writeNewFile(wanted, std::vector<std::uint8_t>{1}, "screenshot");
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("screenshot " + wanted.string()), std::string::npos) << what;
        EXPECT_NE(what.find("No such file or directory"), std::string::npos) << what;
    }
    EXPECT_FALSE(fs::exists(dir / "ScreenShots"));
}

TEST(ScreenShotNames, FormatsByIndexBesideTheProgram)
{
    EXPECT_EQ(files::screenShotExtension(files::kScreenShotBmp), "bmp");
    EXPECT_EQ(files::screenShotExtension(files::kScreenShotJpeg), "jpg");
    EXPECT_EQ(files::screenShotExtension(files::kScreenShotPng), "png");
    EXPECT_FALSE(files::screenShotExtension(-1));
    EXPECT_FALSE(files::screenShotExtension(3));
    EXPECT_EQ(files::screenShotPath("/opt/ostrovik", "png", "03_03_2024_14_05_09"),
              fs::path("/opt/ostrovik/ScreenShots/screenshot_03_03_2024_14_05_09.png"));
}

} // namespace
