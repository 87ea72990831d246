#include "netlink/SessionAnnouncement.hpp"

#include <algorithm>

namespace ostrovik::netlink {

namespace {

bool isControl(unsigned char c)
{
    return c < 0x20 || c == 0x7F;
}

/// @p name without control characters, cut to @p limit bytes without
/// splitting a UTF-8 sequence.
std::string printableName(std::string_view name, std::size_t limit)
{
    std::string out;
    for (const char c : name)
        if (!isControl(static_cast<unsigned char>(c)))
            out += c;
    if (out.size() <= limit)
        return out;
    std::size_t end = limit;
    // Back over continuation bytes to the lead byte of the cut character.
    while (end > 0 && (static_cast<unsigned char>(out[end]) & 0xC0) == 0x80)
        --end;
    out.resize(end);
    return out;
}

} // namespace

std::vector<std::uint8_t> SessionAnnouncement::encode() const
{
    const std::string text = guid + '\n' + std::to_string(port) + '\n' + printableName(hostName, kMaxHostName);
    return {text.begin(), text.end()};
}

std::optional<SessionAnnouncement> SessionAnnouncement::decode(std::span<const std::uint8_t> datagram,
                                                               std::string_view guid)
{
    if (datagram.size() > kMaxSize)
        return std::nullopt;
    const std::string_view text(reinterpret_cast<const char*>(datagram.data()), datagram.size());
    const std::size_t first = text.find('\n');
    if (first == std::string_view::npos || text.substr(0, first) != guid)
        return std::nullopt;
    const std::size_t second = text.find('\n', first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    const std::string_view digits = text.substr(first + 1, second - first - 1);
    if (digits.empty() || digits.size() > 5 || !std::all_of(digits.begin(), digits.end(), [](char c) {
            return c >= '0' && c <= '9';
        }))
        return std::nullopt;
    const unsigned long port = std::stoul(std::string(digits));
    const std::string_view name = text.substr(second + 1);
    if (port == 0 || port > 65535 || name.size() > kMaxHostName ||
        std::any_of(name.begin(), name.end(), [](char c) { return isControl(static_cast<unsigned char>(c)); }))
        return std::nullopt;
    return SessionAnnouncement{std::string(guid), static_cast<std::uint16_t>(port), std::string(name)};
}

} // namespace ostrovik::netlink
