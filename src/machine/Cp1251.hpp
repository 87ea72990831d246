#pragma once

#include <string>
#include <string_view>

namespace ostrovik::machine {

/// Windows-1251 bytes as UTF-8 text (the host interface speaks UTF-8). The
/// one byte the code page leaves unassigned (0x98) becomes U+FFFD.
std::string Cp1251ToUtf8(std::string_view text);

} // namespace ostrovik::machine
