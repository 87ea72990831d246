#include "netlink/NetTestMessage.hpp"

namespace ostrovik::netlink {

namespace {

void put(std::uint8_t* at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t get(const std::uint8_t* at)
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(at[i]) << (8 * i);
    return v;
}

} // namespace

std::array<std::uint8_t, NetTestMessage::kSize> NetTestMessage::bytes() const
{
    std::array<std::uint8_t, kSize> b{};
    put(b.data(), kind);
    put(b.data() + 4, number);
    put(b.data() + 8, value);
    return b;
}

std::optional<NetTestMessage> NetTestMessage::read(std::span<const std::uint8_t> data)
{
    if (data.size() < kSize)
        return std::nullopt;
    return NetTestMessage{get(data.data()), get(data.data() + 4), get(data.data() + 8)};
}

std::string NetTestMessage::logLine() const
{
    return (kind == 1 ? "Adress:" : "Port:") + std::to_string(number) + ":" + std::to_string(value);
}

} // namespace ostrovik::netlink
