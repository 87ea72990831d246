#include "files/avi/AviWriter.hpp"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "files/avi/AviFile.hpp"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
}

namespace ostrovik::files::avi {

namespace fs = std::filesystem;

namespace {

/// The code an error thrown inside a frame write counts as.
constexpr std::uint32_t kWriteThrew = 0x800440C7;

std::string defaultTempFileName()
{
    std::error_code ec;
    std::string folder = fs::temp_directory_path(ec).string();
    if (folder.empty())
        folder = "/tmp";
    if (folder.back() != '/')
        folder += '/';
    return folder + "~AWTemp.avi";
}

/// Removes @p path when it exists; false when it exists and stays.
bool removeIfPresent(const std::string& path)
{
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path, ec)))
        return true;
    fs::remove(path, ec);
    return !fs::exists(fs::symlink_status(path, ec));
}

std::string lowered(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string hexOf(int code)
{
    return hex8(static_cast<std::uint32_t>(code));
}

} // namespace

int BitsPerPixel(TPixelFormat format)
{
    switch (format) {
    case TPixelFormat::pf1bit: return 1;
    case TPixelFormat::pf4bit: return 4;
    case TPixelFormat::pf8bit: return 8;
    case TPixelFormat::pf15bit:
    case TPixelFormat::pf16bit: return 16;
    case TPixelFormat::pf24bit: return 24;
    case TPixelFormat::pf32bit: return 32;
    default: return 0;
    }
}

AviWriter::AviWriter(int screenWidth, int screenHeight)
    : Height(screenHeight / 10), Width(screenWidth / 10), TempFileName(defaultTempFileName())
{
}

AviWriter::~AviWriter()
{
    releaseFile();
    removeIfPresent(TempFileName);
}

void AviWriter::setPixelFormat(TPixelFormat format)
{
    switch (format) {
    case TPixelFormat::pf1bit:
    case TPixelFormat::pf4bit:
    case TPixelFormat::pf8bit:
    case TPixelFormat::pf24bit:
    case TPixelFormat::pf32bit:
        PixelFormat_ = format;
        return;
    default:
        throw AviError("Pixelformat not supported");
    }
}

void AviWriter::setWavFileName(const std::string& name)
{
    if (lowered(name) == lowered(WavFileName_))
        return;
    if (!name.empty() && lowered(fs::path(name).extension().string()) != ".wav")
        throw AviError("WavFileName must name a file with the .wav extension");
    WavFileName_ = name;
}

int AviWriter::releaseFile()
{
    // Releasing a file being written completes it: whatever frames it holds
    // stay readable.
    const int result = file_ ? file_->close() : 0;
    file_.reset();
    return result;
}

const std::string& AviWriter::writtenFileName() const
{
    return OnTheFly ? filename : TempFileName;
}

void AviWriter::initVideo()
{
    releaseFile();
    Aborted = false;
    writeFailed_ = false;
    if (PixelFormat_ == TPixelFormat::pfDevice) {
        Aborted = true;
        throw AviError("For adding frames on the fly the pixelformat must be <> pfDevice");
    }
    // Frames are written at 24 or 32 bits; a palette format has no road here.
    if (PixelFormat_ != TPixelFormat::pf24bit && PixelFormat_ != TPixelFormat::pf32bit)
        throw AviError("Pixelformat not supported");
    // Refused before anything is touched: a zero or negative frame time has
    // no frame rate.
    if (FrameTime <= 0)
        throw AviError("Frame time must be at least 1 ms");

    const std::string& name = OnTheFly ? filename : TempFileName;
    if (!removeIfPresent(name))
        throw AviError("Could not delete " + name +
                       " file might be in use. Try to close the folder if it's open in Explorer");
    auto file = std::make_unique<AviFile>();
    if (const int r = file->create(name); r < 0)
        throw AviError("Failed to create AVI video file. Err: $" + hexOf(r));
    if (file->createStream(FrameTime) < 0)
        throw AviError("Failed to create AVI video stream");
    file_ = std::move(file);
    FrameCount = 0;
    VideoInitialized = true;
}

AviFileFormat AviWriter::frameFormat() const
{
    AviFile::Format format;
    format.width = Width;
    format.height = Height;
    format.bitsPerPixel = BitsPerPixel(PixelFormat_);
    format.quality = Quality;
    format.options = CompressorOptions;
    return format;
}

void AviWriter::setUpStreamFormat()
{
    AviFile::Format format = frameFormat();
    if (!CompressorFourCC.empty() && OnTheFly) {
        compressor_ = locateCompressor(CompressorFourCC, Width, Height);
        if (!compressor_.codec)
            throw AviError("Failed to create compressed stream");
        format.codec = compressor_.codec;
    }
    const int r = file_->setFormat(format);
    if (r > 0)
        throw AviError(format.codec ? "Failed to create compressed stream" : "Failed to set AVI stream format");
    if (r < 0)
        throw AviError("Failed to set AVI stream format");
}

void AviWriter::addFrame(const TAviFrame& Frame)
{
    if (Aborted)
        return;
    if (!VideoInitialized || !file_)
        throw AviError("Video must be initialized.");
    if (!Frame.Bits || Frame.Width <= 0 || Frame.Height <= 0 ||
        (Frame.BitsPerPixel != 24 && Frame.BitsPerPixel != 32) ||
        Frame.Stride < Frame.Width * Frame.BitsPerPixel / 8)
        throw AviError("Failed to retrieve bitmap header and pixels. Err: " + std::to_string(EINVAL));
    if (Width <= 0 || Height <= 0)
        throw AviError("Failed to retrieve bitmap info");

    // The work bitmap: the frame stretched over it, or centred on black.
    const int bytes = BitsPerPixel(PixelFormat_) / 8;
    const int inBytes = Frame.BitsPerPixel / 8;
    const std::size_t stride = static_cast<std::size_t>(Width) * bytes;
    work_.assign(stride * static_cast<std::size_t>(Height), 0);
    const int dx = (Width - Frame.Width) / 2;
    const int dy = (Height - Frame.Height) / 2;
    for (int y = 0; y < Height; ++y) {
        const int sy = Stretch ? static_cast<int>(static_cast<std::int64_t>(y) * Frame.Height / Height) : y - dy;
        if (sy < 0 || sy >= Frame.Height)
            continue;
        const std::uint8_t* in = Frame.Bits + static_cast<std::ptrdiff_t>(sy) * Frame.Stride;
        std::uint8_t* out = work_.data() + static_cast<std::size_t>(y) * stride;
        if (!Stretch && inBytes == 3 && bytes == 3) {
            // The usual case, the frame at its own size: whole rows at once.
            const int from = std::max(0, dx), to = std::min(Width, dx + Frame.Width);
            if (from < to)
                std::copy_n(in + static_cast<std::ptrdiff_t>(from - dx) * 3, static_cast<std::size_t>(to - from) * 3,
                            out + static_cast<std::ptrdiff_t>(from) * 3);
            continue;
        }
        for (int x = 0; x < Width; ++x) {
            const int sx = Stretch ? static_cast<int>(static_cast<std::int64_t>(x) * Frame.Width / Width) : x - dx;
            if (sx < 0 || sx >= Frame.Width)
                continue;
            std::copy_n(in + static_cast<std::ptrdiff_t>(sx) * inBytes, 3, out + static_cast<std::ptrdiff_t>(x) * bytes);
        }
    }

    if (FrameCount == 0 && !file_->formatSet())
        setUpStreamFormat();
    int r = 0;
    try {
        r = file_->writeFrame(work_.data(), static_cast<int>(stride), FrameCount);
    } catch (...) {
        r = static_cast<int>(kWriteThrew);
    }
    if (r != 0) {
        // Said once, naming the file that was cut (the work file when the
        // frames go there first); the save that follows adds nothing.
        writeFailed_ = true;
        throw AviError("Failed to add Frame to " + writtenFileName() + ": " + reasonOf(r));
    }
    ++FrameCount;
    if (OnProgress && FrameCount % 20 == 0)
        OnProgress(*this, FrameCount, Aborted);
}

void AviWriter::finalizeVideo()
{
    VideoInitialized = false;
    Finalized = true;
}

void AviWriter::saveAviFile()
{
    if (Aborted || !Finalized) {
        releaseFile();
        WaveFiles.clear();
        if (!Finalized)
            throw AviError("Video must be finalized");
        // An aborted recording keeps what it wrote; the work file is done with.
        if (!OnTheFly)
            removeIfPresent(TempFileName);
        return;
    }
    Finalized = false;
    WaveFiles.clear();
    if (file_ && !file_->formatSet() && !writeFailed_) {
        try {
            setUpStreamFormat(); // no frame came: the file still gets its stream's format
        } catch (const AviError&) {
            releaseFile();
            if (!OnTheFly)
                removeIfPresent(TempFileName);
            throw;
        }
    }
    const int closed = releaseFile();
    if (OnTheFly) {
        // A file whose last bytes did not reach the disk is not saved.
        if (closed < 0 && !writeFailed_)
            throw AviError("Unable to write output file " + filename + ": " + reasonOf(closed));
        return;
    }
    // The work file is done with whatever happens next: it never stays behind.
    if (writeFailed_ || closed < 0) {
        removeIfPresent(TempFileName);
        if (writeFailed_)
            return;
        throw AviError("Unable to write work file " + TempFileName + ": " + reasonOf(closed));
    }
    try {
        if (!removeIfPresent(filename))
            throw AviError("File " + fs::path(filename).filename().string() +
                           " could not be deleted. It could be in use by another application.");
        recompress();
    } catch (const AviError&) {
        removeIfPresent(TempFileName);
        throw;
    }
    removeIfPresent(TempFileName);
}

// The work file's frames, compressed into the final file.
void AviWriter::recompress()
{
    AVFormatContext* in = nullptr;
    AVCodecContext* decoder = nullptr;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    AviFile out;
    int failure = 0;
    const auto cleanUp = [&] {
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&decoder);
        avformat_close_input(&in);
    };

    // Whether the failure, if any, was the output's (else the work file's).
    bool outputSide = false;
    failure = avformat_open_input(&in, TempFileName.c_str(), nullptr, nullptr);
    if (failure >= 0)
        failure = avformat_find_stream_info(in, nullptr);
    const AVCodec* rawDecoder = nullptr;
    int video = -1;
    if (failure >= 0) {
        video = av_find_best_stream(in, AVMEDIA_TYPE_VIDEO, -1, -1, &rawDecoder, 0);
        failure = video < 0 ? video : 0;
    }
    if (failure >= 0) {
        decoder = avcodec_alloc_context3(rawDecoder);
        failure = decoder ? avcodec_parameters_to_context(decoder, in->streams[video]->codecpar) : AVERROR(ENOMEM);
        if (failure >= 0)
            failure = avcodec_open2(decoder, rawDecoder, nullptr);
    }
    if (failure >= 0) {
        outputSide = true;
        failure = out.create(filename);
    }
    if (failure >= 0)
        failure = out.createStream(FrameTime);
    if (failure >= 0) {
        AviFile::Format format = frameFormat();
        if (!CompressorFourCC.empty()) {
            compressor_ = locateCompressor(CompressorFourCC, Width, Height);
            format.codec = compressor_.codec;
            if (!format.codec)
                failure = AVERROR_ENCODER_NOT_FOUND;
        }
        if (failure >= 0) {
            const int r = out.setFormat(format);
            failure = r > 0 ? AVERROR_ENCODER_NOT_FOUND : r;
        }
    }

    const std::int32_t total = std::max<std::int32_t>(FrameCount, 1);
    std::int32_t written = 0;
    int lastPercent = -1;
    const auto take = [&]() -> int {
        for (;;) {
            int r = avcodec_receive_frame(decoder, frame);
            if (r == AVERROR(EAGAIN) || r == AVERROR_EOF)
                return 0;
            if (r < 0) {
                outputSide = false;
                return r;
            }
            if (frame->format != AV_PIX_FMT_BGR24 && frame->format != AV_PIX_FMT_BGR0 &&
                frame->format != AV_PIX_FMT_BGRA) {
                outputSide = false;
                return AVERROR_INVALIDDATA;
            }
            r = out.writeFrame(frame->data[0], frame->linesize[0], written);
            av_frame_unref(frame);
            if (r < 0) {
                outputSide = true;
                return r;
            }
            ++written;
            const int percent = static_cast<int>(written * 100LL / total);
            if (OnProgress && percent != lastPercent) {
                lastPercent = percent;
                OnProgress(*this, static_cast<std::int32_t>(std::nearbyint(FrameCount * 0.01 * percent)), Aborted);
            }
            if (Aborted)
                return 0;
        }
    };
    while (failure >= 0 && !Aborted && av_read_frame(in, packet) >= 0) {
        if (packet->stream_index == video) {
            failure = avcodec_send_packet(decoder, packet);
            if (failure < 0)
                outputSide = false;
            else
                failure = take();
        }
        av_packet_unref(packet);
    }
    if (failure >= 0 && !Aborted && avcodec_send_packet(decoder, nullptr) >= 0)
        failure = take();
    const int closed = out.close();
    if (failure >= 0 && closed < 0) {
        failure = closed;
        outputSide = true;
    }
    cleanUp();
    if (failure < 0 && !Aborted) {
        if (!outputSide)
            throw AviError("Unable to read work file " + TempFileName + ": " + reasonOf(failure));
        throw AviError("Unable to write output file " + filename + ": " + reasonOf(failure));
    }
}

void AviWriter::setCompressor(std::string_view FourCC)
{
    const std::string_view code = FourCC.substr(0, 4);
    // Options set in the codec's dialog belong to that codec: choosing it
    // again (as every recording's start does) keeps them.
    if (code != CompressorFourCC)
        CompressorOptions.clear();
    CompressorFourCC.clear();
    compressor_ = {};
    if (code.empty())
        return;
    Compressor found = locateCompressor(code, Width, Height);
    if (!found.codec)
        throw AviError("No compressor for " + std::string(code) + " available");
    CompressorFourCC = std::string(code);
    compressor_ = found;
}

void AviWriter::listCompressors(std::vector<std::string>& List) const
{
    List.clear();
    List.emplace_back("No Compression");
    for (const Compressor& c : installedCompressors(Width, Height))
        List.push_back(c.FourCC + " " + c.Name);
}

void AviWriter::configureCompressor(CompressorDialog& Parent)
{
    if (CompressorFourCC.empty())
        return;
    const Compressor c = compressor_.codec ? compressor_ : locateCompressor(CompressorFourCC, Width, Height);
    std::vector<CompressorOption> options = compressorOptions(c.codec);
    if (options.empty())
        return;
    for (CompressorOption& o : options) {
        if (auto it = CompressorOptions.find(o.Name); it != CompressorOptions.end())
            o.Value = it->second;
    }
    const std::vector<CompressorOption> before = options;
    if (!Parent.configure(c.FourCC + " " + c.Name, options))
        return;
    for (std::size_t i = 0; i < options.size(); ++i) {
        if (options[i].Value != before[i].Value)
            CompressorOptions[options[i].Name] = options[i].Value;
    }
}

} // namespace ostrovik::files::avi
