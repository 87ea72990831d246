#pragma once

#include <string>
#include <string_view>

namespace ostrovik::games {

/// Whether a game name from the catalogue names a folder of its own inside
/// the library: not empty, not "." or "..", and free of "/", "\" and every
/// control character (NUL included). Anything else could write outside the
/// library or over it.
bool IsSafeGameName(std::string_view name);

/// The log line that refuses an unsafe name; nothing is written for it.
std::string RefusedNameLine(std::string_view name);

/// @p text percent-encoded for a path or query part of an address: every
/// byte but letters, digits and "-._~".
std::string EscapeForAddress(std::string_view text);

} // namespace ostrovik::games
