#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ostrovik::tools {

/// A colour as picture files hold it: 0xRRGGBB.
using Rgb = std::uint32_t;

/// A picture of any size, rows top first, left to right.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Rgb at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

/// The machine's screen is this many pixels across and down.
inline constexpr int kScreenSide = 256;
inline constexpr std::size_t kScreenPixels = static_cast<std::size_t>(kScreenSide) * kScreenSide;

/// One byte per pixel of the 256 × 256 screen, rows top first.
using ScreenPixels = std::vector<std::uint8_t>;

/// The largest picture file read: far above any picture the screen can
/// use, far below what would strain memory.
inline constexpr std::size_t kMaxPictureFileBytes = 64u << 20;

/// The decoders a picture file goes to, chosen by its name's last three
/// characters: "bmp"/"BMP", "jpg"/"JPG", "png"/"PNG". Mixed case, a
/// four-letter extension or any other ending has none.
enum class PictureKind { Bmp, Jpeg, Png };
std::optional<PictureKind> pictureKind(std::string_view fileName);

/// The file's name without its folder and without its last four characters
/// (the output files are named after it): "/x/sunset.png" gives "sunset".
std::string pictureName(std::string_view path);

/// The brightness the threshold is compared with: (21·R + 71·G + 7·B) div 100,
/// so white gives 252.
int luma(Rgb colour);

/// One byte per pixel of @p picture: 1 where its luma reaches @p threshold
/// (white), 0 elsewhere (black).
std::vector<std::uint8_t> convertToBW(const RgbPicture& picture, int threshold);

/// @p values (one per pixel of a @p width × @p height picture) stretched
/// over the 256 × 256 screen, each screen pixel taking the nearest one.
ScreenPixels stretchToScreen(std::span<const std::uint8_t> values, int width, int height);

/// @p picture stretched over the 256 × 256 screen in the same way, pixel by
/// pixel: no colour arises that the picture does not hold.
RgbPicture stretchToScreen(const RgbPicture& picture);

/// The palette of the 8-bit work picture. Only an index's two low bits reach
/// the screen, so each entry is the colour those bits show there under the
/// colour file's palette value 200: black, red, cyan, white, repeated 64
/// times. Index 0 is black and index 255 white.
const std::array<Rgb, 256>& workPalette();

/// The first entry of workPalette() nearest to @p colour, distances weighted
/// by how bright each channel looks (30 : 59 : 11), so that a colour goes to
/// the screen colour it most resembles.
std::uint8_t nearestIndex(Rgb colour);

/// The 8-bit indices of a 256 × 256 picture (rows top first).
ScreenPixels colourIndices(const RgbPicture& screenSized);

/// Black and white (1) pixels as the work palette's indices 0 and 255.
ScreenPixels bwIndices(std::span<const std::uint8_t> bw);

/// Every row of a 256 × 256 picture left to right reversed.
ScreenPixels mirrorRows(std::span<const std::uint8_t> pixels);

} // namespace ostrovik::tools
