#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

struct AVCodec;
struct AVCodecContext;

namespace ostrovik::files::avi {

/// A video encoder that can write frames of a given size into an AVI file.
struct Compressor {
    /// The four characters the AVI file names the codec by, in file order.
    std::string fourCc;
    /// The encoder's own short name, at most 16 characters.
    std::string name;
    const AVCodec* codec = nullptr;
};

/// The installed encoders that open at @p width × @p height and whose codec
/// the AVI container can carry, one per codec, in the library's order.
std::vector<Compressor> installedCompressors(int width, int height);

/// The encoder for @p fourCC (letter case does not matter) that opens at
/// @p width × @p height; an empty result when there is none.
Compressor locateCompressor(std::string_view fourCC, int width, int height);

/// One option of an encoder, for the codec's configuration dialog.
struct CompressorOption {
    std::string name;
    std::string help;
    /// The value as text, as the encoder would read it.
    std::string value;
    /// For options with named values: the names, in order.
    std::vector<std::string> choices;
    bool isFlag = false; ///< a yes/no option ("0"/"1")
};

/// The encoder's own options with their defaults; empty when it has none.
std::vector<CompressorOption> compressorOptions(const AVCodec* codec);

/// Sets up @p ctx (size, time base, pixel format, key frame interval,
/// quality) for @p codec and opens it with @p options. Returns the library's
/// result (0 on success).
int openEncoder(AVCodecContext* ctx, const AVCodec* codec, int width, int height, int frameTime,
                int quality, const std::map<std::string, std::string>& options);

} // namespace ostrovik::files::avi

namespace ostrovik::files::avi {

/// A quality of 0 … 10,000 (outside clamped) on an encoder's scale running
/// from @p best (at 10,000) to @p worst (at 0), rounded to nearest.
int qualityOnScale(int quality, int best, int worst);

} // namespace ostrovik::files::avi
