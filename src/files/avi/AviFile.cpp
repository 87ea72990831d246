#include "files/avi/AviFile.hpp"

#include <algorithm>

#include "files/avi/AviCodecs.hpp"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace ostrovik::files::avi {

AviFile::~AviFile()
{
    close();
}

int AviFile::create(const std::string& path)
{
    close();
    // The library's notes go to the terminal; only its errors are worth it.
    if (av_log_get_level() > AV_LOG_ERROR)
        av_log_set_level(AV_LOG_ERROR);
    int r = avformat_alloc_output_context2(&format_, nullptr, "avi", path.c_str());
    if (r < 0)
        return r;
    r = avio_open(&format_->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (r < 0) {
        release();
        return r;
    }
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
        return 0;
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
    if (format_) {
        if (format_->pb) {
            avio_flush(format_->pb);
            result = format_->pb->error;
            const int r = avio_closep(&format_->pb);
            if (result == 0)
                result = r;
        }
        avformat_free_context(format_);
    }
    format_ = nullptr;
    stream_ = nullptr;
    headerWritten_ = false;
    return result < 0 ? result : 0;
}

} // namespace ostrovik::files::avi
