#pragma once

#include <cstdint>
#include <map>
#include <string>

struct AVCodec;
struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVIOContext;
struct AVStream;
struct SwsContext;

namespace ostrovik::files::avi {

/// What the frames of a stream are and how they are compressed.
struct AviFileFormat {
    int width = 0, height = 0;
    int bitsPerPixel = 24; ///< of the frames handed in: 24 or 32
    /// The encoder; none writes the frames uncompressed at their own depth.
    const AVCodec* codec = nullptr;
    int quality = 5000;
    std::map<std::string, std::string> options;
};

/// One AVI file with one video stream being written: the container, the
/// stream, and the encoder that turns frames into the stream's samples.
/// Frames come as top-down rows of blue, green, red (and a fourth, unused)
/// bytes. Every call answers the library's result, 0 on success.
class AviFile {
public:
    AviFile() = default;
    ~AviFile();
    AviFile(const AviFile&) = delete;
    AviFile& operator=(const AviFile&) = delete;

    /// Writes into @p fd, a file just created for it and empty, which it
    /// takes over (close() closes it); @p name is what the library calls it.
    /// The library never opens a file by name, so nothing that exists is
    /// replaced or cut.
    int create(int fd, const std::string& name);
    /// Adds the video stream: one frame per @p frameTime milliseconds.
    int createStream(int frameTime);

    using Format = AviFileFormat;
    /// Opens the encoder (a failure answers a positive 1) and writes the
    /// file's header (a failure answers the library's result).
    int setFormat(const Format& format);
    bool formatSet() const { return headerWritten_; }

    /// Appends frame number @p index.
    int writeFrame(const std::uint8_t* bits, int stride, std::int64_t index);

    /// Drains the encoder, writes the index and closes the file; the result
    /// says whether every byte reached the file. Safe to call more than once
    /// and on a file never given a format.
    int close();
    bool isOpen() const { return format_ != nullptr; }

private:
    int drain(bool flush);
    int release();

    AVFormatContext* format_ = nullptr;
    AVIOContext* io_ = nullptr;
    int fd_ = -1;
    AVStream* stream_ = nullptr;
    AVCodecContext* encoder_ = nullptr;
    SwsContext* scaler_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;
    int frameTime_ = 1000;
    int sourceFormat_ = 0;
    bool headerWritten_ = false;
};

} // namespace ostrovik::files::avi
