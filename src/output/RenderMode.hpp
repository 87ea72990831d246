#pragma once

#include <cstdint>

namespace ostrovik::output {

/// The stored render modes of the settings window.
inline constexpr int kRenderGdi = 0;
inline constexpr int kRenderOpenGl = 1;
inline constexpr int kRenderDirectX3D = 2;

/// The presentation a stored render mode gets: 0 the raster one, 1 OpenGL.
/// "DirectX3D" asks for the hardware path, which on this system is OpenGL,
/// so it is shown through the OpenGL view. A value outside a byte counts as
/// the first-run mode 0; any other byte gives no presentation at all.
constexpr std::uint8_t presentedRenderMode(int stored)
{
    if (stored == kRenderDirectX3D)
        return kRenderOpenGl;
    if (stored < 0 || stored > 255)
        return kRenderGdi;
    return static_cast<std::uint8_t>(stored);
}

} // namespace ostrovik::output
