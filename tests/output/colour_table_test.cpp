#include <gtest/gtest.h>

#include <memory>
#include <string_view>

#include "output/ColorTable.hpp"

namespace {

using namespace ostrovik::output;

constexpr ColorValue kMagenta = clRed | clBlue;
constexpr ColorValue kYellow = clRed | clGreen;
constexpr ColorValue kCyan = clGreen | clBlue;
constexpr ColorValue kWhite = clRed | clGreen | clBlue;

class ColourTable : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        table = std::make_unique<ColourLookupTable>();
        calculateColor(*table);
    }
    static void TearDownTestSuite() { table.reset(); }

    /// The colour of pixel index @p index under @p palette: byte 0x80 has
    /// index 1 in pixel 0, 0x08 index 2, 0x88 index 3, 0x00 index 0.
    static ColorValue ofIndex(int palette, int index)
    {
        static constexpr std::uint8_t byteFor[4] = {0x00, 0x80, 0x08, 0x88};
        return (*table)[palette][byteFor[index]][0];
    }

    static std::unique_ptr<ColourLookupTable> table;
};

std::unique_ptr<ColourLookupTable> ColourTable::table;

TEST_F(ColourTable, PaletteRowsWithBits4To6Clear)
{
    struct Row {
        int low;
        ColorValue colours[4];
    };
    const Row rows[] = {
        {0x0, {kMagenta, clGreen, kMagenta, kYellow}}, {0x1, {kMagenta, clGreen, clBlue, kYellow}},
        {0x2, {kMagenta, clGreen, kMagenta, clRed}},   {0x3, {kMagenta, clGreen, clBlue, clRed}},
        {0x4, {clRed, clGreen, kMagenta, kYellow}},    {0x5, {clRed, clGreen, clBlue, kYellow}},
        {0x6, {clRed, clGreen, kMagenta, clRed}},      {0x7, {clRed, clGreen, clBlue, clRed}},
        {0x8, {clBlue, clGreen, kMagenta, kYellow}},   {0x9, {clBlue, clGreen, clBlue, kYellow}},
        {0xA, {clBlue, clGreen, kMagenta, clRed}},     {0xB, {clBlue, clGreen, clBlue, clRed}},
        {0xC, {clBlack, clGreen, kMagenta, kYellow}},  {0xD, {clBlack, clGreen, clBlue, kYellow}},
        {0xE, {clBlack, clGreen, kMagenta, clRed}},    {0xF, {clBlack, clGreen, clBlue, clRed}},
    };
    for (const Row& row : rows)
        for (int index = 0; index < 4; ++index)
            EXPECT_EQ(ofIndex(row.low, index), row.colours[index])
                << "palette " << row.low << " index " << index;
}

TEST_F(ColourTable, Bits4To6InvertRedGreenBlueAndBit7IsIgnored)
{
    for (int p = 0; p < 256; ++p) {
        const ColorValue flip = ((p & 0x10) ? 0x0000FFu : 0u) | ((p & 0x20) ? 0x00FF00u : 0u) |
                                ((p & 0x40) ? 0xFF0000u : 0u);
        for (int index = 0; index < 4; ++index)
            ASSERT_EQ(ofIndex(p, index), ofIndex(p & 0x0F, index) ^ flip) << "palette " << p;
        ASSERT_EQ((*table)[p], (*table)[p ^ 0x80]) << "palette " << p;
    }
    EXPECT_EQ(ofIndex(0x8F, 0), clBlack);
    EXPECT_EQ(ofIndex(0x8F, 3), clRed);
    const ColorValue ff[4] = {kWhite, kMagenta, kYellow, kCyan};
    const ColorValue zero[4] = {kMagenta, clGreen, kMagenta, kYellow};
    for (int index = 0; index < 4; ++index) {
        EXPECT_EQ(ofIndex(0xFF, index), ff[index]);
        EXPECT_EQ(ofIndex(0x00, index), zero[index]);
    }
}

TEST_F(ColourTable, PixelsOfAVideoByte)
{
    // Under 0x0F the palette maps each index to its base colour.
    const auto& identity = (*table)[0x0F];
    EXPECT_EQ(identity[0x80][0], clGreen);
    for (int k = 1; k < 4; ++k)
        EXPECT_EQ(identity[0x80][k], clBlack) << k;
    EXPECT_EQ(identity[0x08][0], clBlue);
    EXPECT_EQ(identity[0x88][0], clRed);
    EXPECT_EQ(identity[0x11][3], clRed);
    EXPECT_EQ(identity[0x11][0], clBlack);
    EXPECT_EQ(identity[0x01][3], clBlue);
    EXPECT_EQ(identity[0x10][3], clGreen);
    for (int b = 0; b < 256; ++b)
        for (int k = 0; k < 4; ++k)
            ASSERT_EQ(identity[b][k], BaseColors[pixelIndex(static_cast<std::uint8_t>(b), k)]);
}

TEST(ColourRule, ColoursOutsideTheBaseSetGetOnlyTheInversions)
{
    EXPECT_EQ(computeColorIndex(0x00, kWhite), clBlack);
    EXPECT_EQ(computeColorIndex(0x70, kYellow), kWhite);
    EXPECT_EQ(computeColorIndex(0x10, 0x123456), clRed);
}

TEST(GrayTv, LevelsOfTheEightColoursWithTiesToEven)
{
    const struct {
        ColorValue colour;
        ColorValue level;
    } cases[] = {{clBlack, 0},    {clBlue, 28},   {clRed, 76},    {kMagenta, 105},
                 {clGreen, 150},  {kCyan, 178},   {kYellow, 227}, {kWhite, 255}};
    for (const auto& c : cases)
        EXPECT_EQ(grayTv(c.colour), c.level * 0x010101u) << std::hex << c.colour;
}

TEST(GrayTv, MixedLevels)
{
    // 10·0.3 + 20·0.59 + 30·0.11 = 18.1; 5·0.3 = 1.5 ties to 2; 15·0.3 = 4.5 ties to 4.
    EXPECT_EQ(grayTv(0x1E140A), 18u * 0x010101u);
    EXPECT_EQ(grayTv(0x000005), 2u * 0x010101u);
    EXPECT_EQ(grayTv(0x00000F), 4u * 0x010101u);
}

} // namespace
