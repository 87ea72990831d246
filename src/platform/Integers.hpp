#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ostrovik::platform {

/// An integer typed or stored as text: every digit of @p text in @p base (10
/// or 16, either case), with one optional sign in front when @p signAllowed.
/// Nothing else may stand in the text, not even blanks. Decimal values must
/// fit 32 signed bits; a hexadecimal text may spell any 32-bit pattern
/// ("FFFFFFFF" is -1). Nothing when the text is not such a number.
std::optional<std::int32_t> parseInteger(std::string_view text, int base = 10, bool signAllowed = true);

/// The one message for a text that is not a number: 'text' is not a valid
/// integer value.
std::string invalidIntegerMessage(std::string_view text);

} // namespace ostrovik::platform
