#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ostrovik::files {

/// The screenshot formats by the settings window's item index.
inline constexpr int kScreenShotBmp = 0;
inline constexpr int kScreenShotJpeg = 1;
inline constexpr int kScreenShotPng = 2;

/// "bmp", "jpg" or "png" for format @p index; nothing for any other index
/// (no format chosen).
std::optional<std::string_view> screenShotExtension(int index);

/// <programDir>/ScreenShots/screenshot_<stamp>.<extension>
std::filesystem::path screenShotPath(const std::string& programDir, std::string_view extension,
                                     std::string_view stamp);

} // namespace ostrovik::files
