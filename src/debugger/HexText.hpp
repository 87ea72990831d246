#pragma once

#include <cstdint>
#include <string>

namespace ostrovik::debugger {

/// @p value's low byte as two upper-case hex digits.
inline std::string hex2(unsigned value)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[(value >> 4) & 0xF], kDigits[value & 0xF]};
}

/// @p value's low 16 bits as four upper-case hex digits.
inline std::string hex4(unsigned value)
{
    return hex2(value >> 8) + hex2(value);
}

} // namespace ostrovik::debugger
