#include "debugger/Numbers.hpp"

#include <limits>
#include <stdexcept>
#include <string>

namespace ostrovik::debugger {

namespace {

[[noreturn]] void invalidInteger(std::string_view text)
{
    throw std::runtime_error("'" + std::string(text) + "' is not a valid integer value");
}

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

std::int32_t parse(std::string_view text, int base, bool signAllowed)
{
    std::string_view digits = text;
    bool negative = false;
    if (signAllowed && !digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
        negative = digits[0] == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty())
        invalidInteger(text);
    std::int64_t value = 0;
    for (char c : digits) {
        const int d = digitValue(c, base);
        if (d < 0)
            invalidInteger(text);
        value = value * base + d;
        if (value > std::int64_t{std::numeric_limits<std::uint32_t>::max()})
            invalidInteger(text);
    }
    if (negative)
        value = -value;
    // A hexadecimal text may spell a 32-bit pattern ("FFFFFFFF" is -1).
    if (base == 16)
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        invalidInteger(text);
    return static_cast<std::int32_t>(value);
}

} // namespace

std::int32_t StrToInt(std::string_view text)
{
    return parse(text, 10, true);
}

std::int32_t HexToInt(std::string_view text)
{
    return parse(text, 16, false);
}

void checkRange(std::int64_t value, std::int64_t low, std::int64_t high)
{
    if (value < low || value > high)
        throw std::runtime_error("Range check error: " + std::to_string(value) + " is outside " +
                                 std::to_string(low) + "-" + std::to_string(high));
}

} // namespace ostrovik::debugger
