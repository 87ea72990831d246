#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ostrovik::files::avi {

/// The writer's quality for the settings window's quality item @p itemIndex
/// ("Highest" … "Low"); no choice counts as the highest.
std::int32_t recordingQuality(int itemIndex);

/// The codec code of the codec box's text: empty for no text and for
/// "No Compression", else its first four characters.
std::string recordingCompressor(std::string_view comboText);

/// <programDir>/ScreenAVI/avi_<stamp>.avi, the recording itself.
std::string recordingFileName(const std::string& programDir, std::string_view stamp);
/// <programDir>/avi_TMP_<stamp>.avi, the work file of a recording that is
/// compressed at its end.
std::string recordingTempFileName(const std::string& programDir, std::string_view stamp);

} // namespace ostrovik::files::avi
