#pragma once

#include <cstddef>
#include <cstdint>

namespace ostrovik::machine {

/// The options of the settings window, by name: the check boxes in the
/// order they are read and written, then the other controls. The config
/// key each one is stored under belongs to the settings schema.
enum class Option : std::uint8_t {
    FullScreen,
    Gray,
    Blur,
    Border,
    Language,
    Screen256x256,
    RunBasic,
    RunSound,
    QuickRun,
    Patch058C,
    OneInstance,
    RenderingMode,
    ScreenShotFormat,
    Compressor,
    FrameTime,
    Interval,
};

inline constexpr std::size_t kCheckOptionCount = 11;
inline constexpr std::size_t kOptionCount = 16;

constexpr std::size_t indexOf(Option o)
{
    return static_cast<std::size_t>(o);
}

} // namespace ostrovik::machine
