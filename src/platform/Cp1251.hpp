#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ostrovik::platform {

/// The Unicode code point of one Windows-1251 byte. Bytes below 0x80 are
/// ASCII; 0x98, which the code page leaves unassigned, stands for U+0098 so
/// that every byte survives a trip to UTF-8 and back.
char32_t cp1251ToUnicode(unsigned char byte);

/// The Windows-1251 byte of a code point, or nothing when the code page has
/// no such character.
std::optional<unsigned char> unicodeToCp1251(char32_t codePoint);

/// Windows-1251 bytes (the settings file, the clipboard, the machine's text)
/// as UTF-8 (the windows' text). Never fails.
std::string cp1251ToUtf8(std::string_view bytes);

/// UTF-8 as Windows-1251 bytes. A character the code page lacks, and any
/// malformed UTF-8 sequence, becomes '?', as the platform's own conversion
/// does with its default character.
std::string utf8ToCp1251(std::string_view utf8);

/// The same conversion, refusing instead of substituting: nothing when the
/// text holds a character the code page lacks or is not valid UTF-8.
std::optional<std::string> utf8ToCp1251Exact(std::string_view utf8);

} // namespace ostrovik::platform
