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

int bitsPerPixelOf(PixelFormat format)
{
    switch (format) {
    case PixelFormat::pf1bit: return 1;
    case PixelFormat::pf4bit: return 4;
    case PixelFormat::pf8bit: return 8;
    case PixelFormat::pf15bit:
    case PixelFormat::pf16bit: return 16;
    case PixelFormat::pf24bit: return 24;
    case PixelFormat::pf32bit: return 32;
    default: return 0;
    }
}

AviWriter::AviWriter(int screenWidth, int screenHeight)
    : height(screenHeight / 10), width(screenWidth / 10), tempFileName(defaultTempFileName())
{
}

AviWriter::~AviWriter()
{
    releaseFile();
    dropCreatedFiles();
}

void AviWriter::setPixelFormat(PixelFormat format)
{
    switch (format) {
    case PixelFormat::pf1bit:
    case PixelFormat::pf4bit:
    case PixelFormat::pf8bit:
    case PixelFormat::pf24bit:
    case PixelFormat::pf32bit:
        pixelFormat_ = format;
        return;
    default:
        throw AviError("Pixelformat not supported");
    }
}

void AviWriter::setWavFileName(const std::string& name)
{
    if (lowered(name) == lowered(wavFileName_))
        return;
    if (!name.empty() && lowered(fs::path(name).extension().string()) != ".wav")
        throw AviError("WavFileName must name a file with the .wav extension");
    wavFileName_ = name;
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
    return onTheFly ? filename : tempFileName;
}

void AviWriter::dropCreatedFiles()
{
    workFile_.remove();
    reservedOutput_.remove();
}

void AviWriter::initVideo()
{
    releaseFile();
    aborted = false;
    writeFailed_ = false;
    if (pixelFormat_ == PixelFormat::pfDevice) {
        aborted = true;
        throw AviError("For adding frames on the fly the pixelformat must be <> pfDevice");
    }
    // Frames are written at 24 or 32 bits; a palette format has no road here.
    if (pixelFormat_ != PixelFormat::pf24bit && pixelFormat_ != PixelFormat::pf32bit)
        throw AviError("Pixelformat not supported");
    // Refused before anything is touched: a zero or negative frame time has
    // no frame rate.
    if (frameTime <= 0)
        throw AviError("Frame time must be at least 1 ms");

    // What an earlier start left unsaved is done with.
    dropCreatedFiles();
    std::vector<fs::path> wanted{filename};
    if (!onTheFly)
        wanted.emplace_back(tempFileName);
    NewFiles made = createNewFiles(wanted);
    if (made.error != 0)
        throw AviError("Failed to create AVI video file. Err: $" + hexOf(AVERROR(made.error)));
    filename = made.files[0].path().string();
    NewFile output = std::move(made.files[0]);
    if (!onTheFly) {
        tempFileName = made.files[1].path().string();
        workFile_ = std::move(made.files[1]);
        reservedOutput_ = std::move(output);
    }
    auto file = std::make_unique<AviFile>();
    const auto refuse = [&](const std::string& why) {
        file.reset();
        output.remove();
        dropCreatedFiles();
        throw AviError(why);
    };
    if (const int r = file->create(onTheFly ? output.takeFd() : workFile_.takeFd(), writtenFileName()); r < 0)
        refuse("Failed to create AVI video file. Err: $" + hexOf(r));
    if (file->createStream(frameTime) < 0)
        refuse("Failed to create AVI video stream");
    file_ = std::move(file);
    frameCount = 0;
    videoInitialized = true;
}

AviFileFormat AviWriter::frameFormat() const
{
    AviFile::Format format;
    format.width = width;
    format.height = height;
    format.bitsPerPixel = bitsPerPixelOf(pixelFormat_);
    format.quality = quality;
    format.options = chosenCompressorOptions;
    return format;
}

void AviWriter::setUpStreamFormat()
{
    AviFile::Format format = frameFormat();
    if (!compressorFourCC.empty() && onTheFly) {
        compressor_ = locateCompressor(compressorFourCC, width, height);
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

void AviWriter::addFrame(const AviFrame& frame)
{
    if (aborted)
        return;
    if (!videoInitialized || !file_)
        throw AviError("Video must be initialized.");
    if (!frame.bits || frame.width <= 0 || frame.height <= 0 ||
        (frame.bitsPerPixel != 24 && frame.bitsPerPixel != 32) ||
        frame.stride < frame.width * frame.bitsPerPixel / 8)
        throw AviError("Failed to retrieve bitmap header and pixels. Err: " + std::to_string(EINVAL));
    if (width <= 0 || height <= 0)
        throw AviError("Failed to retrieve bitmap info");

    // The work bitmap: the frame stretched over it, or centred on black.
    const int bytes = bitsPerPixelOf(pixelFormat_) / 8;
    const int inBytes = frame.bitsPerPixel / 8;
    const std::size_t stride = static_cast<std::size_t>(width) * bytes;
    work_.assign(stride * static_cast<std::size_t>(height), 0);
    const int dx = (width - frame.width) / 2;
    const int dy = (height - frame.height) / 2;
    for (int y = 0; y < height; ++y) {
        const int sy = stretch ? static_cast<int>(static_cast<std::int64_t>(y) * frame.height / height) : y - dy;
        if (sy < 0 || sy >= frame.height)
            continue;
        const std::uint8_t* in = frame.bits + static_cast<std::ptrdiff_t>(sy) * frame.stride;
        std::uint8_t* out = work_.data() + static_cast<std::size_t>(y) * stride;
        if (!stretch && inBytes == 3 && bytes == 3) {
            // The usual case, the frame at its own size: whole rows at once.
            const int from = std::max(0, dx), to = std::min(width, dx + frame.width);
            if (from < to)
                std::copy_n(in + static_cast<std::ptrdiff_t>(from - dx) * 3, static_cast<std::size_t>(to - from) * 3,
                            out + static_cast<std::ptrdiff_t>(from) * 3);
            continue;
        }
        for (int x = 0; x < width; ++x) {
            const int sx = stretch ? static_cast<int>(static_cast<std::int64_t>(x) * frame.width / width) : x - dx;
            if (sx < 0 || sx >= frame.width)
                continue;
            std::copy_n(in + static_cast<std::ptrdiff_t>(sx) * inBytes, 3, out + static_cast<std::ptrdiff_t>(x) * bytes);
        }
    }

    if (frameCount == 0 && !file_->formatSet())
        setUpStreamFormat();
    int r = 0;
    try {
        r = file_->writeFrame(work_.data(), static_cast<int>(stride), frameCount);
    } catch (...) {
        r = static_cast<int>(kWriteThrew);
    }
    if (r != 0) {
        // Said once, naming the file that was cut (the work file when the
        // frames go there first); the save that follows adds nothing.
        writeFailed_ = true;
        throw AviError("Failed to add Frame to " + writtenFileName() + ": " + reasonOf(r));
    }
    ++frameCount;
    if (onProgress && frameCount % 20 == 0)
        onProgress(*this, frameCount, aborted);
}

void AviWriter::finalizeVideo()
{
    videoInitialized = false;
    finalized = true;
}

void AviWriter::saveAviFile()
{
    if (aborted || !finalized) {
        releaseFile();
        waveFiles.clear();
        if (!finalized)
            throw AviError("Video must be finalized");
        // An aborted recording keeps what it wrote; the work file is done with.
        dropCreatedFiles();
        return;
    }
    finalized = false;
    waveFiles.clear();
    if (file_ && !file_->formatSet() && !writeFailed_) {
        try {
            setUpStreamFormat(); // no frame came: the file still gets its stream's format
        } catch (const AviError&) {
            releaseFile();
            dropCreatedFiles();
            throw;
        }
    }
    const int closed = releaseFile();
    if (onTheFly) {
        // A file whose last bytes did not reach the disk is not saved.
        if (closed < 0 && !writeFailed_)
            throw AviError("Unable to write output file " + filename + ": " + reasonOf(closed));
        return;
    }
    // The work file is done with whatever happens next: it never stays
    // behind, nor does an output that never got a byte.
    if (writeFailed_ || closed < 0) {
        dropCreatedFiles();
        if (writeFailed_)
            return;
        throw AviError("Unable to write work file " + tempFileName + ": " + reasonOf(closed));
    }
    try {
        recompress();
    } catch (const AviError&) {
        dropCreatedFiles();
        throw;
    }
    dropCreatedFiles();
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
    failure = avformat_open_input(&in, tempFileName.c_str(), nullptr, nullptr);
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
        // The output created at the start is written now: from here on it
        // keeps what it gets.
        outputSide = true;
        NewFile output = std::move(reservedOutput_);
        failure = output.empty() ? AVERROR(EBADF) : out.create(output.takeFd(), filename);
    }
    if (failure >= 0)
        failure = out.createStream(frameTime);
    if (failure >= 0) {
        AviFile::Format format = frameFormat();
        if (!compressorFourCC.empty()) {
            compressor_ = locateCompressor(compressorFourCC, width, height);
            format.codec = compressor_.codec;
            if (!format.codec)
                failure = AVERROR_ENCODER_NOT_FOUND;
        }
        if (failure >= 0) {
            const int r = out.setFormat(format);
            failure = r > 0 ? AVERROR_ENCODER_NOT_FOUND : r;
        }
    }

    const std::int32_t total = std::max<std::int32_t>(frameCount, 1);
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
            if (onProgress && percent != lastPercent) {
                lastPercent = percent;
                onProgress(*this, static_cast<std::int32_t>(std::nearbyint(frameCount * 0.01 * percent)), aborted);
            }
            if (aborted)
                return 0;
        }
    };
    while (failure >= 0 && !aborted && av_read_frame(in, packet) >= 0) {
        if (packet->stream_index == video) {
            failure = avcodec_send_packet(decoder, packet);
            if (failure < 0)
                outputSide = false;
            else
                failure = take();
        }
        av_packet_unref(packet);
    }
    if (failure >= 0 && !aborted && avcodec_send_packet(decoder, nullptr) >= 0)
        failure = take();
    const int closed = out.close();
    if (failure >= 0 && closed < 0) {
        failure = closed;
        outputSide = true;
    }
    cleanUp();
    if (failure < 0 && !aborted) {
        if (!outputSide)
            throw AviError("Unable to read work file " + tempFileName + ": " + reasonOf(failure));
        throw AviError("Unable to write output file " + filename + ": " + reasonOf(failure));
    }
}

void AviWriter::setCompressor(std::string_view fourCc)
{
    const std::string_view code = fourCc.substr(0, 4);
    // Options set in the codec's dialog belong to that codec: choosing it
    // again (as every recording's start does) keeps them.
    if (code != compressorFourCC)
        chosenCompressorOptions.clear();
    compressorFourCC.clear();
    compressor_ = {};
    if (code.empty())
        return;
    Compressor found = locateCompressor(code, width, height);
    if (!found.codec)
        throw AviError("No compressor for " + std::string(code) + " available");
    compressorFourCC = std::string(code);
    compressor_ = found;
}

void AviWriter::listCompressors(std::vector<std::string>& list) const
{
    list.clear();
    list.emplace_back("No Compression");
    for (const Compressor& c : installedCompressors(width, height))
        list.push_back(c.fourCc + " " + c.name);
}

void AviWriter::configureCompressor(CompressorDialog& parent)
{
    if (compressorFourCC.empty())
        return;
    const Compressor c = compressor_.codec ? compressor_ : locateCompressor(compressorFourCC, width, height);
    std::vector<CompressorOption> options = compressorOptions(c.codec);
    if (options.empty())
        return;
    for (CompressorOption& o : options) {
        if (auto it = chosenCompressorOptions.find(o.name); it != chosenCompressorOptions.end())
            o.value = it->second;
    }
    const std::vector<CompressorOption> before = options;
    if (!parent.configure(c.fourCc + " " + c.name, options))
        return;
    for (std::size_t i = 0; i < options.size(); ++i) {
        if (options[i].value != before[i].value)
            chosenCompressorOptions[options[i].name] = options[i].value;
    }
}

} // namespace ostrovik::files::avi
