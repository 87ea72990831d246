#pragma once

#include <functional>
#include <optional>
#include <string>

#include <QByteArray>

#include "output/FrameBitmap.hpp"

namespace ostrovik::ui {

/// @p frame as a picture file in screenshot format @p index (0 BMP at 24 bits,
/// 1 JPEG at quality 100, 2 PNG); nothing for any other index. Throws
/// std::runtime_error when the image codec fails.
std::optional<QByteArray> encodeScreenShot(const output::FrameBitmap& frame, int index);

/// Saves @p frame as ScreenShots/screenshot_<stamp>.<extension> in
/// @p programDir. Returns the path written, or nothing when @p index names no
/// format. Throws std::runtime_error (path and the system's reason) when the
/// file cannot be written, the ScreenShots folder missing included.
std::optional<std::string> saveScreenShot(const output::FrameBitmap& frame, int index,
                                          const std::string& programDir,
                                          const std::function<std::string()>& stamp);
std::optional<std::string> saveScreenShot(const output::FrameBitmap& frame, int index,
                                          const std::string& programDir);

} // namespace ostrovik::ui
