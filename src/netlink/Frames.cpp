#include "netlink/Frames.hpp"

namespace ostrovik::netlink {

std::vector<std::uint8_t> encodeFrame(FrameType type, std::span<const std::uint8_t> payload)
{
    const auto length = static_cast<std::uint32_t>(payload.size() + 1);
    std::vector<std::uint8_t> frame;
    frame.reserve(4 + length);
    for (int i = 0; i < 4; ++i)
        frame.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
    frame.push_back(static_cast<std::uint8_t>(type));
    frame.insert(frame.end(), payload.begin(), payload.end());
    return frame;
}

std::vector<std::uint8_t> encodeFrame(FrameType type, const std::string& text)
{
    return encodeFrame(type, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void FrameReader::feed(std::span<const std::uint8_t> bytes)
{
    if (!broken())
        buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

std::optional<Frame> FrameReader::next()
{
    if (broken() || buffer_.size() < 4)
        return std::nullopt;
    std::uint32_t length = 0;
    for (int i = 0; i < 4; ++i)
        length |= static_cast<std::uint32_t>(buffer_[static_cast<std::size_t>(i)]) << (8 * i);
    if (length == 0 || length > kMaxFrameLength) {
        error_ = "a frame of " + std::to_string(length) + " bytes (at most " + std::to_string(kMaxFrameLength) +
                 " are accepted)";
        buffer_.clear();
        return std::nullopt;
    }
    if (buffer_.size() < 4 + static_cast<std::size_t>(length))
        return std::nullopt;
    const std::uint8_t type = buffer_[4];
    if (type < static_cast<std::uint8_t>(FrameType::Hello) || type > static_cast<std::uint8_t>(FrameType::Refused)) {
        error_ = "a frame of unknown type " + std::to_string(type);
        buffer_.clear();
        return std::nullopt;
    }
    Frame frame{static_cast<FrameType>(type), {buffer_.begin() + 5, buffer_.begin() + 4 + length}};
    buffer_.erase(buffer_.begin(), buffer_.begin() + 4 + length);
    return frame;
}

} // namespace ostrovik::netlink
