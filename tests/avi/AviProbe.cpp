#include "AviProbe.hpp"

#include <cstdio>
#include <cstdlib>
#include <sstream>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace ostrovik::files::avi::test {

std::map<std::string, std::string> ffprobe(const std::filesystem::path& file)
{
    const std::string command = "ffprobe -v error -select_streams v:0 -count_frames -show_entries "
                                "stream=codec_name,width,height,r_frame_rate,nb_read_frames,pix_fmt "
                                "-of default=noprint_wrappers=1 '" + file.string() + "' 2>/dev/null";
    std::map<std::string, std::string> fields;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return fields;
    char line[512];
    while (std::fgets(line, sizeof line, pipe)) {
        std::string s(line);
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
            s.pop_back();
        const auto eq = s.find('=');
        if (eq != std::string::npos)
            fields[s.substr(0, eq)] = s.substr(eq + 1);
    }
    pclose(pipe);
    return fields;
}

std::string ffprobeLine(const std::filesystem::path& file)
{
    const auto fields = ffprobe(file);
    const auto get = [&](const char* name) {
        const auto it = fields.find(name);
        return it == fields.end() ? std::string("?") : it->second;
    };
    return get("codec_name") + " " + get("width") + "x" + get("height") + " " + get("r_frame_rate") + " " +
           get("nb_read_frames") + " frames";
}

std::uint32_t DecodedFrame::pixel(int x, int y) const
{
    const std::uint8_t* p = bgr.data() + (static_cast<std::size_t>(y) * width + x) * 3;
    return static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[0];
}

std::vector<DecodedFrame> decodeAll(const std::filesystem::path& file)
{
    std::vector<DecodedFrame> frames;
    AVFormatContext* in = nullptr;
    if (avformat_open_input(&in, file.c_str(), nullptr, nullptr) < 0)
        return frames;
    const AVCodec* codec = nullptr;
    const int video = avformat_find_stream_info(in, nullptr) < 0
                          ? -1
                          : av_find_best_stream(in, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    AVCodecContext* ctx = video < 0 ? nullptr : avcodec_alloc_context3(codec);
    if (!ctx || avcodec_parameters_to_context(ctx, in->streams[video]->codecpar) < 0 ||
        avcodec_open2(ctx, codec, nullptr) < 0) {
        avcodec_free_context(&ctx);
        avformat_close_input(&in);
        return frames;
    }
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    const auto take = [&] {
        while (avcodec_receive_frame(ctx, frame) >= 0) {
            DecodedFrame out;
            out.width = frame->width;
            out.height = frame->height;
            out.bgr.resize(static_cast<std::size_t>(out.width) * out.height * 3);
            SwsContext* sws = sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                             frame->width, frame->height, AV_PIX_FMT_BGR24, SWS_POINT, nullptr,
                                             nullptr, nullptr);
            std::uint8_t* dst[] = {out.bgr.data()};
            const int dstStride[] = {out.width * 3};
            sws_scale(sws, frame->data, frame->linesize, 0, frame->height, dst, dstStride);
            sws_freeContext(sws);
            frames.push_back(std::move(out));
        }
    };
    while (av_read_frame(in, packet) >= 0) {
        if (packet->stream_index == video && avcodec_send_packet(ctx, packet) >= 0)
            take();
        av_packet_unref(packet);
    }
    avcodec_send_packet(ctx, nullptr);
    take();
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&ctx);
    avformat_close_input(&in);
    return frames;
}

} // namespace ostrovik::files::avi::test
