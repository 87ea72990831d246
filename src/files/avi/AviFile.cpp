#include "files/avi/AviFile.hpp"

#include <algorithm>
#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

#include "files/avi/AviCodecs.hpp"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace ostrovik::files::avi {

namespace {

/// Bytes gathered before they are written, as the library's own file
/// writing gathers them: a file on a full disk fails at the frame that
/// fills this, or when it is completed.
constexpr int kIoBufferSize = 256 * 1024;

// The file's bytes go through our own descriptor: written whole, or the
// system's reason.
#if LIBAVFORMAT_VERSION_MAJOR < 61
int writeBytes(void* opaque, std::uint8_t* bytes, int size)
#else
int writeBytes(void* opaque, const std::uint8_t* bytes, int size)
#endif
{
    const int fd = *static_cast<int*>(opaque);
    int done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, bytes + done, static_cast<std::size_t>(size - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return AVERROR(errno);
        }
        done += static_cast<int>(n);
    }
    return size;
}

std::int64_t seekBytes(void* opaque, std::int64_t offset, int whence)
{
    const int fd = *static_cast<int*>(opaque);
    if (whence & AVSEEK_SIZE) {
        struct stat st {};
        return ::fstat(fd, &st) == 0 ? static_cast<std::int64_t>(st.st_size) : AVERROR(errno);
    }
    const off_t at = ::lseek(fd, static_cast<off_t>(offset), whence & ~AVSEEK_FORCE);
    return at < 0 ? AVERROR(errno) : static_cast<std::int64_t>(at);
}

} // namespace

AviFile::~AviFile()
{
    close();
}

int AviFile::create(int fd, const std::string& name)
{
    close();
    fd_ = fd;
    // The library's notes go to the terminal; only its errors are worth it.
    if (av_log_get_level() > AV_LOG_ERROR)
        av_log_set_level(AV_LOG_ERROR);
    int r = avformat_alloc_output_context2(&format_, nullptr, "avi", name.c_str());
    if (r < 0) {
        release();
        return r;
    }
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferSize));
    io_ = buffer ? avio_alloc_context(buffer, kIoBufferSize, 1, &fd_, nullptr, writeBytes, seekBytes) : nullptr;
    if (!io_) {
        av_free(buffer);
        release();
        return AVERROR(ENOMEM);
    }
    format_->pb = io_;
    // Written when the buffer is full, not after every frame.
    format_->flush_packets = 0;
    return 0;
}

int AviFile::createStream(int frameTime)
{
    stream_ = avformat_new_stream(format_, nullptr);
    if (!stream_)
        return AVERROR(ENOMEM);
    frameTime_ = std::max(frameTime, 1);
    int num = 0, den = 0;
    av_reduce(&num, &den, frameTime_, 1000, 1 << 30);
    stream_->time_base = {num, den};
    stream_->avg_frame_rate = {den, num};
    stream_->r_frame_rate = {den, num};
    return 0;
}

int AviFile::setFormat(const Format& format)
{
    sourceFormat_ = format.bitsPerPixel == 32 ? AV_PIX_FMT_BGR0 : AV_PIX_FMT_BGR24;
    const AVCodec* codec = format.codec ? format.codec : avcodec_find_encoder(AV_CODEC_ID_RAWVIDEO);
    if (!codec)
        return 1;
    encoder_ = avcodec_alloc_context3(codec);
    if (!encoder_)
        return 1;
    if (format.codec) {
        if (openEncoder(encoder_, codec, format.width, format.height, frameTime_, format.quality,
                        format.options) < 0)
            return 1;
    } else {
        // Uncompressed: the frames' own bytes, rows top first.
        encoder_->width = format.width;
        encoder_->height = format.height;
        encoder_->pix_fmt = static_cast<AVPixelFormat>(sourceFormat_);
        encoder_->time_base = stream_->time_base;
        if (avcodec_open2(encoder_, codec, nullptr) < 0)
            return 1;
    }
    int r = avcodec_parameters_from_context(stream_->codecpar, encoder_);
    if (r < 0)
        return r;
    stream_->avg_frame_rate = {stream_->time_base.den, stream_->time_base.num};

    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    if (!frame_ || !packet_)
        return AVERROR(ENOMEM);
    frame_->format = encoder_->pix_fmt;
    frame_->width = format.width;
    frame_->height = format.height;
    if ((r = av_frame_get_buffer(frame_, 0)) < 0)
        return r;
    if (encoder_->pix_fmt != sourceFormat_) {
        scaler_ = sws_getContext(format.width, format.height, static_cast<AVPixelFormat>(sourceFormat_),
                                 format.width, format.height, encoder_->pix_fmt, SWS_POINT, nullptr,
                                 nullptr, nullptr);
        if (!scaler_)
            return AVERROR(EINVAL);
    }
    if ((r = avformat_write_header(format_, nullptr)) < 0)
        return r;
    headerWritten_ = true;
    return 0;
}

int AviFile::writeFrame(const std::uint8_t* bits, int stride, std::int64_t index)
{
    if (!headerWritten_)
        return AVERROR(EINVAL);
    int r = av_frame_make_writable(frame_);
    if (r < 0)
        return r;
    if (scaler_) {
        const std::uint8_t* src[] = {bits};
        const int srcStride[] = {stride};
        sws_scale(scaler_, src, srcStride, 0, frame_->height, frame_->data, frame_->linesize);
    } else {
        const int rowBytes = frame_->width * (sourceFormat_ == AV_PIX_FMT_BGR0 ? 4 : 3);
        for (int y = 0; y < frame_->height; ++y)
            std::copy_n(bits + static_cast<std::ptrdiff_t>(y) * stride, rowBytes,
                        frame_->data[0] + static_cast<std::ptrdiff_t>(y) * frame_->linesize[0]);
    }
    frame_->pts = index;
    frame_->pict_type = AV_PICTURE_TYPE_NONE;
    if ((r = avcodec_send_frame(encoder_, frame_)) < 0)
        return r;
    return drain(false);
}

int AviFile::drain(bool flush)
{
    if (flush) {
        const int r = avcodec_send_frame(encoder_, nullptr);
        if (r < 0 && r != AVERROR_EOF)
            return r;
    }
    for (;;) {
        int r = avcodec_receive_packet(encoder_, packet_);
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF)
            return 0;
        if (r < 0)
            return r;
        av_packet_rescale_ts(packet_, encoder_->time_base, stream_->time_base);
        packet_->stream_index = stream_->index;
        r = av_interleaved_write_frame(format_, packet_);
        if (r < 0)
            return r;
    }
}

int AviFile::close()
{
    if (!format_)
        return release();
    int result = 0;
    if (headerWritten_) {
        result = drain(true);
        const int r = av_write_trailer(format_);
        if (result == 0)
            result = r;
    }
    // The last buffered bytes reach the disk only now: a full disk shows here.
    const int closed = release();
    return result < 0 ? result : closed;
}

int AviFile::release()
{
    sws_freeContext(scaler_);
    scaler_ = nullptr;
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    avcodec_free_context(&encoder_);
    int result = 0;
    if (io_) {
        avio_flush(io_);
        result = io_->error;
        av_freep(&io_->buffer);
        avio_context_free(&io_);
    }
    if (format_) {
        format_->pb = nullptr;
        avformat_free_context(format_);
    }
    if (fd_ >= 0 && ::close(fd_) != 0 && result == 0)
        result = AVERROR(errno);
    fd_ = -1;
    format_ = nullptr;
    stream_ = nullptr;
    headerWritten_ = false;
    return result < 0 ? result : 0;
}

} // namespace ostrovik::files::avi
