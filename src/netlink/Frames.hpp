#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ostrovik::netlink {

/// The session's stream is cut into frames: a 32-bit little-endian length,
/// then that many bytes, the first of which is the frame's type. So a
/// message arrives whole however TCP splits or joins the bytes.
enum class FrameType : std::uint8_t {
    Hello = 1,   ///< the application GUID: only copies of this program join
    Message = 2, ///< a message for the session's players
    Refused = 3, ///< why the other side turns this one away (text)
};

struct Frame {
    FrameType type = FrameType::Message;
    std::vector<std::uint8_t> payload;
};

/// The largest frame (type and payload) either side accepts.
inline constexpr std::uint32_t kMaxFrameLength = 512;

std::vector<std::uint8_t> encodeFrame(FrameType type, std::span<const std::uint8_t> payload);
std::vector<std::uint8_t> encodeFrame(FrameType type, const std::string& text);

/// Collects a stream's bytes and hands out its whole frames.
class FrameReader {
public:
    void feed(std::span<const std::uint8_t> bytes);
    /// The next whole frame; nothing when it has not all arrived or the
    /// stream is broken.
    std::optional<Frame> next();
    /// The stream announced a frame longer than the limit (or empty, or of
    /// an unknown type); nothing more is read from it.
    bool broken() const { return !error_.empty(); }
    const std::string& error() const { return error_; }
    /// Bytes fed and not yet handed out.
    std::size_t buffered() const { return buffer_.size(); }

private:
    std::vector<std::uint8_t> buffer_;
    std::string error_;
};

} // namespace ostrovik::netlink
