#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace ostrovik::output::sound {

inline constexpr int kSoundBars = 29;
inline constexpr int kSamplesPerBar = 48;

/// Clicks per bar of the sound view: bar b counts the samples
/// data[48·b + 1 … 48·b + 48] that are not silence (128). Sample 0 and the
/// samples past bar 28 are not shown; samples past the end of @p data count
/// as silence.
std::array<int, kSoundBars> countBarClicks(std::span<const std::uint8_t> data);

} // namespace ostrovik::output::sound
