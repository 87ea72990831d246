#include "output/Antialiasing.hpp"

#include <cstdint>

namespace ostrovik::output {

namespace {

/// @p sum / 4 rounded to nearest, ties to even.
inline std::uint8_t quarter(unsigned sum)
{
    const unsigned q = sum >> 2;
    const unsigned rest = sum & 3;
    return static_cast<std::uint8_t>(q + (rest > 2 || (rest == 2 && (q & 1))));
}

/// @p sum / 5 rounded to nearest; a whole sum never falls halfway.
inline std::uint8_t fifth(unsigned sum)
{
    return static_cast<std::uint8_t>((sum + 2) / 5);
}

} // namespace

void antialiasing(FrameBitmap& bitmap)
{
    constexpr int kWidth = FrameBitmap::kWidth;
    constexpr int kHeight = FrameBitmap::kHeight;
    constexpr int kBytesPerPixel = 3; // bytes per pixel; each channel is filtered alone

    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* row = bitmap.scanLine(y);
        const std::uint8_t* up = bitmap.scanLine(y > 0 ? y - 1 : y);
        const std::uint8_t* down = bitmap.scanLine(y < kHeight - 1 ? y + 1 : y);
        // The top row's upper neighbour is itself, read before it is written.
        for (int c = 0; c < kBytesPerPixel; ++c) {
            const unsigned s = row[c];
            row[c] = quarter(up[c] + s + row[kBytesPerPixel + c] + down[c]);
        }
        for (int i = kBytesPerPixel; i < (kWidth - 1) * kBytesPerPixel; ++i) {
            const unsigned s = row[i];
            row[i] = fifth(row[i - kBytesPerPixel] + row[i + kBytesPerPixel] + s + up[i] + down[i]);
        }
        for (int i = (kWidth - 1) * kBytesPerPixel; i < kWidth * kBytesPerPixel; ++i) {
            const unsigned s = row[i];
            row[i] = quarter(up[i] + s + row[i - kBytesPerPixel] + down[i]);
        }
    }
}

} // namespace ostrovik::output
