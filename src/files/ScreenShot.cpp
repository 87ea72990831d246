#include "files/ScreenShot.hpp"

#include <array>

namespace ostrovik::files {

std::optional<std::string_view> screenShotExtension(int index)
{
    static constexpr std::array<std::string_view, 3> kExtensions{"bmp", "jpg", "png"};
    if (index < 0 || index >= static_cast<int>(kExtensions.size()))
        return std::nullopt;
    return kExtensions[static_cast<std::size_t>(index)];
}

std::filesystem::path screenShotPath(const std::string& programDir, std::string_view extension,
                                     std::string_view stamp)
{
    return std::filesystem::path(programDir) / "ScreenShots" /
           ("screenshot_" + std::string(stamp) + "." + std::string(extension));
}

} // namespace ostrovik::files
