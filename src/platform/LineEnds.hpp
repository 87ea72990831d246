#pragma once

#include <string>
#include <string_view>

namespace ostrovik::platform {

/// Text with the line ends the original platform's clipboard holds: every LF
/// not already preceded by CR becomes CR LF. A CR on its own stays, so text
/// that already has CR LF or CR line ends passes unchanged.
std::string crLfLineEnds(std::string_view text);

} // namespace ostrovik::platform
