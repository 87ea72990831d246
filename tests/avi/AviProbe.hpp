#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/TempFolder.hpp"

namespace ostrovik::files::avi::test {

/// What ffprobe reports of a file's first video stream (empty when it could
/// not read one), by field name: codec_name, width, height, r_frame_rate,
/// nb_read_frames, pix_fmt.
std::map<std::string, std::string> ffprobe(const std::filesystem::path& file);

/// The same fields in one line, "codec WIDTHxHEIGHT rate N frames", "?" for
/// any ffprobe left out: one compare says what a file holds.
std::string ffprobeLine(const std::filesystem::path& file);

/// A decoded frame: top-down rows of blue, green, red.
struct DecodedFrame {
    int width = 0, height = 0;
    std::vector<std::uint8_t> bgr;
    std::uint32_t pixel(int x, int y) const; // 0xRRGGBB
};

/// Every frame of the file's first video stream, decoded by libavcodec.
std::vector<DecodedFrame> decodeAll(const std::filesystem::path& file);

/// A fresh folder, removed with everything in it afterwards; names in it
/// come as strings.
class TempFolder : public ostrovik::test::TempFolder {
public:
    TempFolder() : ostrovik::test::TempFolder("avi") {}
    std::string operator/(const std::string& name) const { return (path() / name).string(); }
};

} // namespace ostrovik::files::avi::test
