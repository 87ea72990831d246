#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ostrovik::machine {

/// The Windows-1251 character of each machine character code 31 to 126, in
/// code order: "_" for 31, the grave accent for 39, ASCII for 32-38 and 40-95,
/// and the Cyrillic capitals for 96-126.
extern const std::string_view KoiTable;

/// Upper-cases the Latin letters and the Windows-1251 Cyrillic letters
/// (0xE0-0xFF); every other byte, yo (0xB8) included, stays.
std::string upCaseText(std::string_view text);

/// The Windows virtual key that types Windows-1251 character @p c on the
/// DU-01: for a Cyrillic capital the PC key that carries it in the Russian
/// layout, for a shifted symbol the key that gives it with Shift under the
/// Latin table. Every other character gives 32, the space key.
std::uint16_t koi8ToKoi7(std::uint8_t c);

/// The Windows-1251 character of machine character code @p code. Codes
/// outside 31-126 have no character and show as a blank.
char koiToCp1251(std::uint8_t code);

} // namespace ostrovik::machine
