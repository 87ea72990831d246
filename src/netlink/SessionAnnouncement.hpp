#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ostrovik::netlink {

/// What a hosted session tells the local network about itself every second,
/// in one datagram: the application GUID (so that only copies of this
/// program list it), the TCP port it takes players on and the host's name.
/// The address to join is the datagram's sender.
struct SessionAnnouncement {
    /// The largest datagram either side deals with.
    static constexpr std::size_t kMaxSize = 512;
    /// The longest host name sent; a longer one is cut.
    static constexpr std::size_t kMaxHostName = 63;

    std::string guid;
    std::uint16_t port = 0;
    std::string hostName;

    /// "<guid>\n<port>\n<host name>", the name cut to kMaxHostName bytes at
    /// a character boundary and without control characters.
    std::vector<std::uint8_t> encode() const;
    /// The announcement in @p datagram when it names @p guid, a port 1 …
    /// 65535 and a host name of printable characters; nothing otherwise.
    static std::optional<SessionAnnouncement> decode(std::span<const std::uint8_t> datagram, std::string_view guid);
};

} // namespace ostrovik::netlink
