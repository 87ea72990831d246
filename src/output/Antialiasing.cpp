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

void Antialiasing(FrameBitmap& bitmap)
{
    constexpr int W = FrameBitmap::Width;
    constexpr int H = FrameBitmap::Height;
    constexpr int Step = 3; // bytes per pixel; each channel is filtered alone

    for (int y = 0; y < H; ++y) {
        std::uint8_t* row = bitmap.ScanLine(y);
        const std::uint8_t* up = bitmap.ScanLine(y > 0 ? y - 1 : y);
        const std::uint8_t* down = bitmap.ScanLine(y < H - 1 ? y + 1 : y);
        // The top row's upper neighbour is itself, read before it is written.
        for (int c = 0; c < Step; ++c) {
            const unsigned s = row[c];
            row[c] = quarter(up[c] + s + row[Step + c] + down[c]);
        }
        for (int i = Step; i < (W - 1) * Step; ++i) {
            const unsigned s = row[i];
            row[i] = fifth(row[i - Step] + row[i + Step] + s + up[i] + down[i]);
        }
        for (int i = (W - 1) * Step; i < W * Step; ++i) {
            const unsigned s = row[i];
            row[i] = quarter(up[i] + s + row[i - Step] + down[i]);
        }
    }
}

} // namespace ostrovik::output
