#include "games/LogText.hpp"

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

/// The length of the whole UTF-8 character at @p at, or 0 when the byte
/// there begins none: a continuation byte, a lead byte without all its
/// continuation bytes, an overlong form, a surrogate or a number past U+10FFFF.
std::size_t wholeLength(std::string_view text, std::size_t at)
{
    const unsigned char lead = byteAt(text, at);
    if (lead < 0x80)
        return 1;
    if (lead < 0xC2 || lead > 0xF4)
        return 0;
    const std::size_t length = formLength(lead);
    if (at + length > text.size())
        return 0;
    // After E0, ED, F0 and F4 the second byte's range is narrower.
    const unsigned char second = byteAt(text, at + 1);
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (second < low || second > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if ((byteAt(text, at + i) & 0xC0) != 0x80)
            return 0;
    return length;
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
        // A byte that begins no whole character is shown on its own; the
        // bytes after it are judged afresh, so a line feed there is escaped.
        const std::size_t whole = wholeLength(text, at);
        const std::size_t length = whole ? whole : 1;
        if (at + length > kMaxQuotedBytes) {
            quoted += "...";
            break;
        }
        if (const std::size_t control = whole ? layoutControlLength(text, at) : 1) {
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
