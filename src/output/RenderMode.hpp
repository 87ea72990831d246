#pragma once

#include <cstdint>

namespace ostrovik::output {

/// The presentations, numbered as the settings window stores them. A
/// presented mode is Raster, OpenGl or a byte that gives no presentation.
enum class RenderMode : std::uint8_t {
    Raster = 0,
    OpenGl = 1,
    /// Stored only: the hardware path, which on this system is OpenGL.
    DirectX3D = 2,
};

/// The presentation a stored render mode gets: 0 the raster one, 1 OpenGL.
/// "DirectX3D" asks for the hardware path, which on this system is OpenGL,
/// so it is shown through the OpenGL view. A value outside a byte counts as
/// the first-run mode 0; any other byte gives no presentation at all.
constexpr RenderMode presentedRenderMode(int stored)
{
    if (stored == static_cast<int>(RenderMode::DirectX3D))
        return RenderMode::OpenGl;
    if (stored < 0 || stored > 255)
        return RenderMode::Raster;
    return static_cast<RenderMode>(stored);
}

} // namespace ostrovik::output
