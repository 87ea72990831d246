#include <gtest/gtest.h>

#include <memory>

#include "machine/Machine.hpp"
#include "output/ColorTable.hpp"
#include "output/GlTexture.hpp"

namespace {

using namespace ostrovik::output;

TEST(GlTextureTest, RowsRunFromTheBottomLineAndTexelsAreRgb)
{
    auto table = std::make_unique<ColourLookupTable>();
    calculateColor(*table);
    ostrovik::machine::NullHost host;
    ostrovik::machine::Machine m(host);
    m.ports[0xC1] = 0x0F; // black, green, blue, red
    m.videoRam.fill(0);
    m.videoRam[0] = 0x88;            // line 0, pixel 0 red
    m.videoRam[255 * 64 + 63] = 0x11; // line 255, pixel 255 red
    m.videoRam[10 * 64 + 1] = 0x40;   // line 10, pixel 5 green
    m.videoRam[20 * 64] = 0x08;       // line 20, pixel 0 blue
    auto texture = std::make_unique<GlTextureImage>();

    const struct {
        int line, pixel;
        std::uint8_t r, g, b;
    } texels[] = {
        {0, 0, 255, 0, 0}, {0, 1, 0, 0, 0},     {255, 255, 255, 0, 0}, {255, 254, 0, 0, 0},
        {10, 5, 0, 255, 0}, {10, 4, 0, 0, 0},   {20, 0, 0, 0, 255},
    };
    buildTexture(m, *table, false, *texture);
    for (const auto& t : texels) {
        const std::uint8_t* p = texture->data() + (255 - t.line) * 768 + t.pixel * 3;
        EXPECT_EQ(p[0], t.r) << "line " << t.line << " pixel " << t.pixel;
        EXPECT_EQ(p[1], t.g) << "line " << t.line << " pixel " << t.pixel;
        EXPECT_EQ(p[2], t.b) << "line " << t.line << " pixel " << t.pixel;
    }

    // Gray: red gives 76 in all three channels.
    buildTexture(m, *table, true, *texture);
    const std::uint8_t* red = texture->data() + 255 * 768;
    EXPECT_EQ(red[0], 76);
    EXPECT_EQ(red[1], 76);
    EXPECT_EQ(red[2], 76);
}

TEST(GlTextureTest, GrayLevelsAndViewport)
{
    const struct {
        ColorValue colour, gray;
    } levels[] = {
        {0x000000, 0x000000}, {0xFF0000, 0x1C1C1C}, {0x0000FF, 0x4C4C4C}, {0xFFFF00, 0xB2B2B2},
        {0x00FFFF, 0xE3E3E3}, {0xFFFFFF, 0xFFFFFF},
    };
    for (const auto& l : levels) {
        EXPECT_EQ(grayGl(l.colour), l.gray) << std::hex << l.colour;
        EXPECT_EQ(grayGl(l.colour), grayTv(l.colour)) << std::hex << l.colour;
    }
    EXPECT_EQ(glViewportFor(535, 536, 25), (GlViewport{0, 0, 535, 511}));
    EXPECT_EQ(glViewportFor(256, 256, 25), (GlViewport{0, 0, 256, 231}));
}

} // namespace
