#include "files/avi/AviRecording.hpp"

#include <array>
#include <filesystem>

namespace ostrovik::files::avi {

std::int32_t recordingQuality(int itemIndex)
{
    static constexpr std::array<std::int32_t, 5> kQuality{10000, 9000, 8000, 6000, 4000};
    if (itemIndex < 0 || itemIndex >= static_cast<int>(kQuality.size()))
        return 10000;
    return kQuality[static_cast<std::size_t>(itemIndex)];
}

std::string recordingCompressor(std::string_view comboText)
{
    if (comboText.empty() || comboText == "No Compression")
        return {};
    return std::string(comboText.substr(0, 4));
}

std::string recordingFileName(const std::string& programDir, std::string_view stamp)
{
    return (std::filesystem::path(programDir) / "ScreenAVI" / ("avi_" + std::string(stamp) + ".avi")).string();
}

std::string recordingTempFileName(const std::string& programDir, std::string_view stamp)
{
    return (std::filesystem::path(programDir) / ("avi_TMP_" + std::string(stamp) + ".avi")).string();
}

} // namespace ostrovik::files::avi
