#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace ostrovik::files::avi {

/// A failure of the AVI writer, with the text shown to the user.
class AviError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// @p code as eight upper-case hexadecimal digits.
std::string hex8(std::uint32_t code);

/// Why a call of the video library failed, in words ("No space left on
/// device"); "Err: " and the code in hexadecimal where it has none.
std::string reasonOf(int code);

} // namespace ostrovik::files::avi
