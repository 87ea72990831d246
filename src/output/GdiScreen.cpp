#include "output/GdiScreen.hpp"

#include "output/Antialiasing.hpp"

#include <cstddef>

namespace ostrovik::output {

namespace {

constexpr std::size_t kVideoBytes = 16384;
constexpr std::size_t kBlock = 32;

constexpr std::size_t graySlot(ColorValue c)
{
    return ((c >> 7) & 1) | ((c >> 14) & 2) | ((c >> 21) & 4);
}

/// Whether a block of video bytes all equal their shadow entries. An
/// unchanged screen is the common case, so this is the whole cost of most
/// draws; the loop has a fixed length and no early exit so that the compiler
/// turns it into a few wide compares.
inline bool blockUnchanged(const std::uint8_t* video, const std::uint16_t* shadow)
{
    unsigned differ = 0;
    for (std::size_t i = 0; i < kBlock; ++i)
        differ |= static_cast<unsigned>(video[i] ^ shadow[i]);
    return differ == 0;
}

} // namespace

GdiScreen::GdiScreen(machine::Machine& machine, const ColourLookupTable& colorTable)
    : machine_(machine), colorTable_(colorTable)
{
    for (ColorValue i = 0; i < 8; ++i) {
        const ColorValue c = ((i & 1) ? 0x0000FFu : 0u) | ((i & 2) ? 0x00FF00u : 0u) |
                             ((i & 4) ? 0xFF0000u : 0u);
        grayCache_[graySlot(c)] = {c, grayTv(c)};
    }
}

ColorValue GdiScreen::grayOf(ColorValue c)
{
    GrayEntry& e = grayCache_[graySlot(c)];
    if (e.colour != c)
        e = {c, grayTv(c)};
    return e.level;
}

void GdiScreen::changeRenderMode(RenderMode mode)
{
    switch (mode) {
    case RenderMode::Raster:
        screenBitmap = std::make_unique<FrameBitmap>();
        blurBitmap = std::make_unique<FrameBitmap>();
        break;
    case RenderMode::OpenGl:
        screenBitmap.reset();
        blurBitmap.reset();
        break;
    default:
        break;
    }
}

bool GdiScreen::drawScreen(bool gray)
{
    if (!screenBitmap)
        return false;

    const std::uint8_t* video = machine_.videoRam.data();
    std::uint16_t* shadow = machine_.videoShadow.data();
    const auto& colours = colorTable_[machine_.ports[0xC1]];
    bool changed = false;

    for (std::size_t block = 0; block < kVideoBytes; block += kBlock) {
        if (blockUnchanged(video + block, shadow + block))
            continue;
        changed = true;
        for (std::size_t i = block; i < block + kBlock; ++i) {
            const std::uint8_t b = video[i];
            if (b == shadow[i])
                continue;
            shadow[i] = b;
            // 64 bytes per line, four pixels per byte.
            std::uint8_t* out = screenBitmap->scanLine(static_cast<int>(i >> 6)) + (i & 63) * 12;
            for (int k = 0; k < 4; ++k) {
                ColorValue c = colours[b][k];
                if (gray)
                    c = grayOf(c);
                out[3 * k] = static_cast<std::uint8_t>(c >> 16);
                out[3 * k + 1] = static_cast<std::uint8_t>(c >> 8);
                out[3 * k + 2] = static_cast<std::uint8_t>(c);
            }
        }
    }

    if (blurEnabled && blurBitmap) {
        *blurBitmap = *screenBitmap;
        smoothBlurBitmap();
    }
    return changed;
}

void GdiScreen::smoothBlurBitmap()
{
    if (blurBitmap)
        output::antialiasing(*blurBitmap);
}

} // namespace ostrovik::output
