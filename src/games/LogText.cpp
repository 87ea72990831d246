#include "games/LogText.hpp"

#include <algorithm>
#include <cstdio>

namespace ostrovik::games {

namespace {

unsigned char byteAt(std::string_view text, std::size_t at)
{
    return at < text.size() ? static_cast<unsigned char>(text[at]) : 0;
}

/// The length of the UTF-8 form that starts with @p lead (1 for a byte that
/// starts none, so that a broken text still moves on).
std::size_t formLength(unsigned char lead)
{
    return lead >= 0xF0 && lead < 0xF8 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

/// The code point of the character at @p at, of @p length bytes.
unsigned codePoint(std::string_view text, std::size_t at, std::size_t length)
{
    static constexpr unsigned leadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    unsigned value = byteAt(text, at) & leadBits[length];
    for (std::size_t i = 1; i < length; ++i)
        value = (value << 6) | (byteAt(text, at + i) & 0x3F);
    return value;
}

} // namespace

std::size_t layoutControlLength(std::string_view text, std::size_t at)
{
    const unsigned char lead = byteAt(text, at);
    if (lead < 0x20 || lead == 0x7F)
        return at < text.size() ? 1 : 0;
    const std::size_t length = formLength(lead);
    if (length == 1 || at + length > text.size())
        return 0;
    const unsigned c = codePoint(text, at, length);
    const bool control = (c >= 0x80 && c <= 0x9F) || c == 0x2028 || c == 0x2029 || (c >= 0x202A && c <= 0x202E) ||
                         (c >= 0x2066 && c <= 0x2069);
    return control ? length : 0;
}

std::string quoteInLog(std::string_view text)
{
    std::string quoted;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t length = formLength(byteAt(text, at));
        if (std::min(at + length, text.size()) > kMaxQuotedBytes) {
            quoted += "...";
            break;
        }
        if (const std::size_t control = layoutControlLength(text, at)) {
            char escaped[8];
            if (control == 1)
                std::snprintf(escaped, sizeof escaped, "\\x%02X", byteAt(text, at));
            else
                std::snprintf(escaped, sizeof escaped, "\\u%04X", codePoint(text, at, control));
            quoted += escaped;
        } else {
            quoted.append(text.substr(at, length));
        }
        at += length;
    }
    return quoted;
}

} // namespace ostrovik::games
