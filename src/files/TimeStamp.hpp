#pragma once

#include <ctime>
#include <string>

namespace ostrovik::files {

/// The stamp generated files are named with (snapshots, screenshots, AVI
/// files, fonts): "dd_mm_yyyy_hh_MM_ss", 24-hour clock.
std::string fileTimeStamp(const std::tm& t);

/// fileTimeStamp of the current local time.
std::string fileTimeStampNow();

} // namespace ostrovik::files
