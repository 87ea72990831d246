#include "debugger/Numbers.hpp"

#include <optional>
#include <stdexcept>
#include <string>

#include "platform/Integers.hpp"

namespace ostrovik::debugger {

namespace {

std::int32_t parse(std::string_view text, int base, bool signAllowed)
{
    const std::optional<std::int32_t> value = platform::parseInteger(text, base, signAllowed);
    if (!value)
        throw std::runtime_error(platform::invalidIntegerMessage(text));
    return *value;
}

} // namespace

std::int32_t strToInt(std::string_view text)
{
    return parse(text, 10, true);
}

std::int32_t hexToInt(std::string_view text)
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
