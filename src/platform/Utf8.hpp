#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ostrovik::platform {

/// Decodes one UTF-8 sequence at @p pos; nothing for a malformed one (overlong
/// forms, surrogates, values past U+10FFFF and truncated sequences included).
/// @p pos always advances: past the sequence, or at least past its first
/// byte when it is malformed.
std::optional<char32_t> nextCodePoint(std::string_view s, std::size_t& pos);

/// Appends the UTF-8 form of @p cp.
void appendUtf8(std::string& out, char32_t cp);

} // namespace ostrovik::platform
