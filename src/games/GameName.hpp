#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ostrovik::games {

/// The longest game name taken: the game's files are the name followed by
/// four more bytes (".lvt", ".txt"), and no file name passes 255 bytes.
inline constexpr std::size_t kMaxGameNameBytes = 251;

/// Whether a game name from the catalogue names a folder of its own inside
/// the library: not empty, not "." or "..", free of "/", "\", every control
/// character (NUL included) and every character that breaks or turns a line
/// (layoutControlLength), and short enough for its files' names. Anything
/// else could write outside the library or over it, fail there, or forge
/// lines of the log that shows it.
bool isSafeGameName(std::string_view name);

/// The log line that refuses an unsafe name; nothing is written for it. The
/// name is quoted as quoteInLog() quotes.
std::string refusedNameLine(std::string_view name);

/// @p text percent-encoded for a path or query part of an address: every
/// byte but letters, digits and "-._~".
std::string escapeForAddress(std::string_view text);

} // namespace ostrovik::games
