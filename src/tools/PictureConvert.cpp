#include "tools/PictureConvert.hpp"

#include <algorithm>
#include <stdexcept>

#include "output/ColorTable.hpp"

namespace ostrovik::tools {

namespace {

/// The palette value the colour file's display stub sets.
constexpr std::uint8_t kColourFilePalette = 0xC8;

int red(Rgb c) { return static_cast<int>((c >> 16) & 0xFF); }
int green(Rgb c) { return static_cast<int>((c >> 8) & 0xFF); }
int blue(Rgb c) { return static_cast<int>(c & 0xFF); }

Rgb fromColorValue(output::ColorValue c)
{
    return (c & 0xFF) << 16 | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

std::array<Rgb, 256> makeWorkPalette()
{
    std::array<Rgb, 256> palette{};
    for (std::size_t i = 0; i < palette.size(); ++i) {
        // The screen reads the pixel's two bits the other way round.
        const int v = static_cast<int>(i & 3);
        const int screenIndex = ((v & 1) << 1) | (v >> 1);
        palette[i] = fromColorValue(
            output::computeColorIndex(kColourFilePalette, output::BaseColors[static_cast<std::size_t>(screenIndex)]));
    }
    return palette;
}

/// Each screen pixel takes the picture's pixel it falls on.
template <typename T>
std::vector<T> stretchNearest(std::span<const T> values, int width, int height)
{
    if (width <= 0 || height <= 0 || values.size() != static_cast<std::size_t>(width) * height)
        throw std::invalid_argument("stretchToScreen: the picture's size does not match its pixels");
    std::vector<T> out(kScreenPixels);
    for (int y = 0; y < kScreenSide; ++y) {
        // In 64 bits: a picture may be millions of pixels high or wide.
        const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(height) / kScreenSide *
                                static_cast<std::size_t>(width);
        for (int x = 0; x < kScreenSide; ++x)
            out[static_cast<std::size_t>(y) * kScreenSide + x] =
                values[row + static_cast<std::size_t>(x) * static_cast<std::size_t>(width) / kScreenSide];
    }
    return out;
}

} // namespace

std::optional<PictureKind> pictureKind(std::string_view fileName)
{
    if (fileName.size() < 3)
        return std::nullopt;
    const std::string_view end = fileName.substr(fileName.size() - 3);
    if (end == "bmp" || end == "BMP")
        return PictureKind::Bmp;
    if (end == "jpg" || end == "JPG")
        return PictureKind::Jpeg;
    if (end == "png" || end == "PNG")
        return PictureKind::Png;
    return std::nullopt;
}

std::string pictureName(std::string_view path)
{
    const std::size_t slash = path.find_last_of('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    name.remove_suffix(std::min<std::size_t>(4, name.size()));
    return std::string(name);
}

int luma(Rgb colour)
{
    return (21 * red(colour) + 71 * green(colour) + 7 * blue(colour)) / 100;
}

std::vector<std::uint8_t> convertToBW(const RgbPicture& picture, int threshold)
{
    std::vector<std::uint8_t> bw(picture.pixels.size());
    std::transform(picture.pixels.begin(), picture.pixels.end(), bw.begin(),
                   [threshold](Rgb c) { return static_cast<std::uint8_t>(luma(c) >= threshold ? 1 : 0); });
    return bw;
}

ScreenPixels stretchToScreen(std::span<const std::uint8_t> values, int width, int height)
{
    return stretchNearest(values, width, height);
}

RgbPicture stretchToScreen(const RgbPicture& picture)
{
    return {kScreenSide, kScreenSide, stretchNearest(std::span<const Rgb>(picture.pixels), picture.width, picture.height)};
}

const std::array<Rgb, 256>& workPalette()
{
    static const std::array<Rgb, 256> palette = makeWorkPalette();
    return palette;
}

std::uint8_t nearestIndex(Rgb colour)
{
    const auto& palette = workPalette();
    // The palette repeats its first four entries; the first of equals wins.
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < 4; ++i) {
        const Rgb p = palette[static_cast<std::size_t>(i)];
        const long dr = red(colour) - red(p), dg = green(colour) - green(p), db = blue(colour) - blue(p);
        const long distance = 30 * dr * dr + 59 * dg * dg + 11 * db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return static_cast<std::uint8_t>(best);
}

ScreenPixels colourIndices(const RgbPicture& screenSized)
{
    if (screenSized.width != kScreenSide || screenSized.height != kScreenSide ||
        screenSized.pixels.size() != kScreenPixels)
        throw std::invalid_argument("colourIndices: the picture is not 256 x 256");
    ScreenPixels out(kScreenPixels);
    std::transform(screenSized.pixels.begin(), screenSized.pixels.end(), out.begin(), nearestIndex);
    return out;
}

ScreenPixels bwIndices(std::span<const std::uint8_t> bw)
{
    ScreenPixels out(bw.size());
    std::transform(bw.begin(), bw.end(), out.begin(), [](std::uint8_t b) { return b ? 255 : 0; });
    return out;
}

ScreenPixels mirrorRows(std::span<const std::uint8_t> pixels)
{
    if (pixels.size() != kScreenPixels)
        throw std::invalid_argument("mirrorRows: the picture is not 256 x 256");
    ScreenPixels out(pixels.begin(), pixels.end());
    for (std::size_t row = 0; row < kScreenPixels; row += kScreenSide)
        std::reverse(out.begin() + static_cast<std::ptrdiff_t>(row),
                     out.begin() + static_cast<std::ptrdiff_t>(row + kScreenSide));
    return out;
}

} // namespace ostrovik::tools
