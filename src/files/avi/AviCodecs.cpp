#include "files/avi/AviCodecs.hpp"
#include "files/avi/AviError.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

namespace ostrovik::files::avi {

std::string hex8(std::uint32_t code)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08X", code);
    return text;
}

std::string reasonOf(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    if (code < 0 && av_strerror(code, text, sizeof text) == 0)
        return text;
    return "Err: " + hex8(static_cast<std::uint32_t>(code));
}

namespace {

const AVOutputFormat* aviFormat()
{
    return av_guess_format("avi", nullptr, nullptr);
}

/// Uncompressed frames carry no fourCc in the file; they are listed under
/// the name the platform's codec manager gives them.
constexpr std::uint32_t kDibTag = MKTAG('D', 'I', 'B', ' ');

std::uint32_t aviTag(AVCodecID id)
{
    unsigned int tag = 0;
    if (!av_codec_get_tag2(aviFormat()->codec_tag, id, &tag))
        return 0;
    if (tag == 0 && id == AV_CODEC_ID_RAWVIDEO)
        return kDibTag;
    return tag;
}

AVCodecID codecOfTag(std::uint32_t tag)
{
    if (tag == kDibTag)
        return AV_CODEC_ID_RAWVIDEO;
    return av_codec_get_id(aviFormat()->codec_tag, tag);
}

std::string tagText(std::uint32_t tag)
{
    std::string s(4, ' ');
    for (int i = 0; i < 4; ++i)
        s[static_cast<std::size_t>(i)] = static_cast<char>((tag >> (8 * i)) & 0xFF);
    return s;
}

bool usable(const AVCodec* codec)
{
    if (codec->type != AVMEDIA_TYPE_VIDEO || !av_codec_is_encoder(codec))
        return false;
    if (codec->capabilities & (AV_CODEC_CAP_EXPERIMENTAL | AV_CODEC_CAP_HARDWARE))
        return false;
    if (codec->id == AV_CODEC_ID_WRAPPED_AVFRAME)
        return false;
    if (codec->pix_fmts) {
        const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(codec->pix_fmts[0]);
        if (!d || (d->flags & AV_PIX_FMT_FLAG_HWACCEL))
            return false;
    }
    return true;
}

/// Whether the encoder opens for frames of this size.
bool opens(const AVCodec* codec, int width, int height)
{
    AVCodecContext* ctx = avcodec_alloc_context3(codec);
    if (!ctx)
        return false;
    const bool ok = openEncoder(ctx, codec, width, height, 50, 5000, {}) == 0;
    avcodec_free_context(&ctx);
    return ok;
}

/// The first usable encoder of @p id that opens at this size.
const AVCodec* encoderFor(AVCodecID id, int width, int height)
{
    void* it = nullptr;
    while (const AVCodec* codec = av_codec_iterate(&it)) {
        if (codec->id == id && usable(codec) && opens(codec, width, height))
            return codec;
    }
    return nullptr;
}

bool offers(const AVPixelFormat* list, AVPixelFormat format)
{
    for (; *list != AV_PIX_FMT_NONE; ++list)
        if (*list == format)
            return true;
    return false;
}

/// The encoder's format closest to our frames, except that full or half
/// chroma gives way to quarter chroma (4:2:0) where the encoder has it: most
/// players refuse anything else (H.264 in 4:4:4 above all), and it halves the
/// work of a frame. Lossless RGB formats stay as they are.
AVPixelFormat playableFormat(const AVPixelFormat* list)
{
    const AVPixelFormat best = avcodec_find_best_pix_fmt_of_list(list, AV_PIX_FMT_BGR24, 0, nullptr);
    switch (best) {
    case AV_PIX_FMT_YUV444P:
    case AV_PIX_FMT_YUV422P:
        return offers(list, AV_PIX_FMT_YUV420P) ? AV_PIX_FMT_YUV420P : best;
    case AV_PIX_FMT_YUVJ444P:
    case AV_PIX_FMT_YUVJ422P:
        return offers(list, AV_PIX_FMT_YUVJ420P) ? AV_PIX_FMT_YUVJ420P : best;
    default:
        return best;
    }
}

class QuietLog {
public:
    QuietLog() : level_(av_log_get_level()) { av_log_set_level(AV_LOG_QUIET); }
    ~QuietLog() { av_log_set_level(level_); }
    QuietLog(const QuietLog&) = delete;
    QuietLog& operator=(const QuietLog&) = delete;

private:
    int level_;
};

} // namespace

int qualityOnScale(int quality, int best, int worst)
{
    const double q = std::clamp(quality, 0, 10000) / 10000.0;
    return static_cast<int>(std::lround(worst + (best - worst) * q));
}

std::vector<Compressor> installedCompressors(int width, int height)
{
    const QuietLog quiet;
    std::vector<Compressor> list;
    std::vector<AVCodecID> seen;
    void* it = nullptr;
    while (const AVCodec* codec = av_codec_iterate(&it)) {
        if (!usable(codec) || std::find(seen.begin(), seen.end(), codec->id) != seen.end())
            continue;
        const std::uint32_t tag = aviTag(codec->id);
        // A tag shared by two codecs names the first; the other cannot be chosen by it.
        if (tag == 0 || codecOfTag(tag) != codec->id || !opens(codec, width, height))
            continue;
        seen.push_back(codec->id);
        list.push_back({tagText(tag), std::string(codec->name).substr(0, 16), codec});
    }
    return list;
}

Compressor locateCompressor(std::string_view fourCC, int width, int height)
{
    if (fourCC.empty() || fourCC.size() > 4)
        return {};
    std::string text(fourCC);
    text.resize(4, ' ');
    const std::uint32_t tag = MKTAG(text[0], text[1], text[2], text[3]);
    const AVCodecID id = codecOfTag(tag);
    if (id == AV_CODEC_ID_NONE)
        return {};
    const QuietLog quiet;
    const AVCodec* codec = encoderFor(id, width, height);
    if (!codec)
        return {};
    return {text, std::string(codec->name).substr(0, 16), codec};
}

std::vector<CompressorOption> compressorOptions(const AVCodec* codec)
{
    std::vector<CompressorOption> list;
    if (!codec || !codec->priv_class)
        return list;
    // The options live on the encoder's private context; a throw-away one
    // gives their defaults.
    AVCodecContext* ctx = avcodec_alloc_context3(codec);
    if (!ctx)
        return list;
    const AVOption* o = nullptr;
    while ((o = av_opt_next(ctx->priv_data, o))) {
        if (o->type == AV_OPT_TYPE_CONST || !(o->flags & AV_OPT_FLAG_ENCODING_PARAM))
            continue;
        CompressorOption option;
        option.name = o->name;
        option.help = o->help ? o->help : "";
        std::uint8_t* value = nullptr;
        if (av_opt_get(ctx->priv_data, o->name, 0, &value) >= 0 && value) {
            option.value = reinterpret_cast<const char*>(value);
            av_free(value);
        }
        option.isFlag = o->type == AV_OPT_TYPE_BOOL;
        if (o->unit) {
            const AVOption* c = nullptr;
            while ((c = av_opt_next(ctx->priv_data, c))) {
                if (c->type == AV_OPT_TYPE_CONST && c->unit && std::string_view(c->unit) == o->unit)
                    option.choices.emplace_back(c->name);
            }
        }
        list.push_back(std::move(option));
    }
    avcodec_free_context(&ctx);
    return list;
}

int openEncoder(AVCodecContext* ctx, const AVCodec* codec, int width, int height, int frameTime,
                int quality, const std::map<std::string, std::string>& options)
{
    ctx->width = width;
    ctx->height = height;
    int num = 0, den = 0;
    av_reduce(&num, &den, std::max(frameTime, 1), 1000, 1 << 30);
    ctx->time_base = {num, den};
    ctx->framerate = {den, num};
    ctx->pix_fmt = codec->pix_fmts ? playableFormat(codec->pix_fmts) : AV_PIX_FMT_BGR24;
    if (ctx->pix_fmt == AV_PIX_FMT_YUVJ420P || ctx->pix_fmt == AV_PIX_FMT_YUVJ422P ||
        ctx->pix_fmt == AV_PIX_FMT_YUVJ444P)
        ctx->color_range = AVCOL_RANGE_JPEG;
    // A key frame every second of playback; AVI has no room for reordered frames.
    ctx->gop_size = std::max(1, static_cast<int>(std::nearbyint(1000.0 / std::max(frameTime, 1))));
    ctx->max_b_frames = 0;
    ctx->thread_count = 1;

    // Quality on the encoder's own scale: a constant rate factor where it has
    // one, else a fixed quantiser (which lossless encoders ignore).
    if (ctx->priv_data && av_opt_find(ctx->priv_data, "crf", nullptr, 0, 0)) {
        av_opt_set_double(ctx->priv_data, "crf", qualityOnScale(quality, 0, 51), 0);
    } else {
        ctx->flags |= AV_CODEC_FLAG_QSCALE;
        ctx->global_quality = FF_QP2LAMBDA * qualityOnScale(quality, 1, 31);
    }

    AVDictionary* dict = nullptr;
    for (const auto& [name, value] : options)
        av_dict_set(&dict, name.c_str(), value.c_str(), 0);
    const int result = avcodec_open2(ctx, codec, &dict);
    av_dict_free(&dict);
    return result;
}

} // namespace ostrovik::files::avi
