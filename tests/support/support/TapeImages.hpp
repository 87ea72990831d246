#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace ostrovik::test {

/// A machine-code tape image: signature, type 0xD0, the name PROBA1, start,
/// end and run addresses, then @p data as it stands (it may hold fewer or
/// more bytes than the header's range).
inline std::vector<std::uint8_t> machineCodeTape(std::uint16_t start, std::uint16_t end, std::uint16_t run,
                                                 std::span<const std::uint8_t> data)
{
    constexpr std::string_view head = "RIZI/2.0/\xD0PROBA1";
    std::vector<std::uint8_t> f(head.size() + 6 + data.size());
    std::copy(head.begin(), head.end(), f.begin());
    std::size_t at = head.size();
    for (std::uint16_t w : {start, end, run}) {
        f[at++] = static_cast<std::uint8_t>(w & 0xFF);
        f[at++] = static_cast<std::uint8_t>(w >> 8);
    }
    std::copy(data.begin(), data.end(), f.begin() + static_cast<std::ptrdiff_t>(at));
    return f;
}

/// A BASIC tape image: signature, a type other than 0xD0, the name, the
/// program as it lies in memory, and one last byte that is never loaded.
inline std::vector<std::uint8_t> basicTape(std::span<const std::uint8_t> program, std::uint8_t trailer = 0xFF)
{
    constexpr std::string_view head = "RIZI/2.0/\xD3PROBA1";
    std::vector<std::uint8_t> f(head.size() + program.size() + 1);
    std::copy(head.begin(), head.end(), f.begin());
    std::copy(program.begin(), program.end(), f.begin() + static_cast<std::ptrdiff_t>(head.size()));
    f.back() = trailer;
    return f;
}

inline std::vector<std::uint8_t> basicTape(std::string_view program)
{
    return basicTape(std::span(reinterpret_cast<const std::uint8_t*>(program.data()), program.size()));
}

} // namespace ostrovik::test
