#include "files/TapeImage.hpp"

#include <algorithm>

#include "files/Bytes.hpp"

namespace ostrovik::files {

bool hasLvtSignature(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= kLvtSignature.size()
        && std::equal(kLvtSignature.begin(), kLvtSignature.end(), bytes.begin(),
                      [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
}

std::optional<LvtHeader> parseLvtHeader(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kLvtHeaderSize)
        return std::nullopt;
    LvtHeader h;
    for (std::size_t i = 0; i < h.signature.size(); ++i)
        h.signature[i] = static_cast<char>(bytes[i]);
    h.fileType = bytes[9];
    std::copy_n(bytes.begin() + 10, h.tapeName.size(), h.tapeName.begin());
    h.startAddr = readWord(bytes, 16);
    h.endAddr = readWord(bytes, 18);
    h.runAddr = readWord(bytes, 20);
    return h;
}

std::array<std::uint8_t, kLvtHeaderSize> serialiseLvtHeader(const LvtHeader& header)
{
    std::array<std::uint8_t, kLvtHeaderSize> out{};
    for (std::size_t i = 0; i < header.signature.size(); ++i)
        out[i] = static_cast<std::uint8_t>(header.signature[i]);
    out[9] = header.fileType;
    std::copy(header.tapeName.begin(), header.tapeName.end(), out.begin() + 10);
    writeWord(out, 16, header.startAddr);
    writeWord(out, 18, header.endAddr);
    writeWord(out, 20, header.runAddr);
    return out;
}

} // namespace ostrovik::files
