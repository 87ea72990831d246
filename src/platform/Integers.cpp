#include "platform/Integers.hpp"

#include <limits>

namespace ostrovik::platform {

namespace {

int digitValue(char c, int base)
{
    int d = -1;
    if (c >= '0' && c <= '9')
        d = c - '0';
    else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
    return d < base ? d : -1;
}

} // namespace

std::optional<std::int32_t> parseInteger(std::string_view text, int base, bool signAllowed)
{
    bool negative = false;
    if (signAllowed && !text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        const int d = digitValue(c, base);
        if (d < 0)
            return std::nullopt;
        value = value * base + d;
        if (value > std::int64_t{std::numeric_limits<std::uint32_t>::max()})
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (base == 16)
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::string invalidIntegerMessage(std::string_view text)
{
    return "'" + std::string(text) + "' is not a valid integer value";
}

} // namespace ostrovik::platform
