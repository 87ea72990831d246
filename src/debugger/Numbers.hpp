#pragma once

#include <cstdint>
#include <string_view>

namespace ostrovik::debugger {

// Numbers typed into the debuggers' fields. A text that is not a number of
// its kind throws std::runtime_error with the invalid-integer message, which
// the window's event handler shows in the application's error box.

/// A decimal integer, optionally signed: "65535", "-1".
std::int32_t strToInt(std::string_view text);
/// A hexadecimal integer: "C000", "c000", "FF".
std::int32_t hexToInt(std::string_view text);

/// Throws the range error when @p value lies outside @p low … @p high.
void checkRange(std::int64_t value, std::int64_t low, std::int64_t high);

} // namespace ostrovik::debugger
