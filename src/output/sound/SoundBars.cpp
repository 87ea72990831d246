#include "output/sound/SoundBars.hpp"

namespace ostrovik::output::sound {

std::array<int, kSoundBars> countBarClicks(std::span<const std::uint8_t> data)
{
    std::array<int, kSoundBars> counts{};
    for (int b = 0; b < kSoundBars; ++b)
        for (int i = kSamplesPerBar * b + 1; i <= kSamplesPerBar * b + kSamplesPerBar; ++i)
            if (static_cast<std::size_t>(i) < data.size() && data[static_cast<std::size_t>(i)] != 128)
                ++counts[static_cast<std::size_t>(b)];
    return counts;
}

} // namespace ostrovik::output::sound
