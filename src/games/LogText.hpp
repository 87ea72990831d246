#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ostrovik::games {

/// The most bytes of a catalogue's text that one log line quotes, as the
/// assembler's build log does: a title of megabytes would hold the window's
/// thread for seconds at every layout of the log.
inline constexpr std::size_t kMaxQuotedBytes = 200;

/// The length in bytes of a character at @p at of the UTF-8 @p text that
/// breaks or turns a line: a control character (C0, DEL, C1, U+0085 among
/// them), the line and paragraph separators U+2028 and U+2029, or a
/// bidirectional embedding, override or isolate (U+202A to U+202E, U+2066 to
/// U+2069). Zero for any other character.
std::size_t layoutControlLength(std::string_view text, std::size_t at);

/// @p text as a log line quotes it: at most its first kMaxQuotedBytes bytes,
/// cut before a character whose bytes do not all fit and then followed by
/// "..."; every character of layoutControlLength written as "\x.." (one
/// byte) or "\u...." so that quoted text can neither start a line of its own
/// nor turn one around.
std::string quoteInLog(std::string_view text);

} // namespace ostrovik::games
