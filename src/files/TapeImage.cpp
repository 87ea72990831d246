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
    for (std::size_t i = 0; i < h.Signature.size(); ++i)
        h.Signature[i] = static_cast<char>(bytes[i]);
    h.FileType = bytes[9];
    std::copy_n(bytes.begin() + 10, h.TapeName.size(), h.TapeName.begin());
    h.StartAddr = readWord(bytes, 16);
    h.EndAddr = readWord(bytes, 18);
    h.RunAddr = readWord(bytes, 20);
    return h;
}

std::array<std::uint8_t, kLvtHeaderSize> serialiseLvtHeader(const LvtHeader& header)
{
    std::array<std::uint8_t, kLvtHeaderSize> out{};
    for (std::size_t i = 0; i < header.Signature.size(); ++i)
        out[i] = static_cast<std::uint8_t>(header.Signature[i]);
    out[9] = header.FileType;
    std::copy(header.TapeName.begin(), header.TapeName.end(), out.begin() + 10);
    writeWord(out, 16, header.StartAddr);
    writeWord(out, 18, header.EndAddr);
    writeWord(out, 20, header.RunAddr);
    return out;
}

} // namespace ostrovik::files
