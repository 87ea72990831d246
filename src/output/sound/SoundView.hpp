#pragma once

#include <cstdint>
#include <span>

namespace ostrovik::output::sound {

/// The window that shows each played buffer, as the beeper sees it.
class SoundView {
public:
    virtual ~SoundView() = default;
    /// Whether the window is on screen; a hidden one is not drawn.
    virtual bool isShown() const = 0;
    virtual void drawBuffer(std::span<const std::uint8_t> data) = 0;
};

} // namespace ostrovik::output::sound
