#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace ostrovik::netlink {

/// The link test's message: three unsigned 32-bit words, little-endian.
struct NetTestMessage {
    static constexpr std::size_t kSize = 12;
    /// 1 = an "IN Adress" entry, anything else = an "IN Port" entry.
    std::uint32_t kind = 0;
    std::uint32_t number = 0;
    /// A pseudo-random number 0 … 254.
    std::uint32_t value = 0;

    std::array<std::uint8_t, kSize> bytes() const;
    /// The message in @p data; nothing when it is shorter than 12 bytes
    /// (longer ones are read for their first 12).
    static std::optional<NetTestMessage> read(std::span<const std::uint8_t> data);
    /// "Adress:" or "Port:", the number, ":", the value.
    std::string logLine() const;
};

} // namespace ostrovik::netlink
