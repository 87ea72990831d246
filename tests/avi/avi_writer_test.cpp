#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "AviProbe.hpp"
#include "files/avi/AviWriter.hpp"

namespace {

using namespace ostrovik::files::avi;
using ostrovik::files::avi::test::decodeAll;
using ostrovik::files::avi::test::DecodedFrame;
using ostrovik::files::avi::test::ffprobe;
using ostrovik::files::avi::test::ffprobeLine;
using ostrovik::files::avi::test::TempFolder;
namespace fs = std::filesystem;

/// A picture of 8 × 8 blocks in the machine's colours, changing with @p n.
struct Picture {
    int width, height;
    std::vector<std::uint8_t> bgr;

    Picture(int w, int h, int n) : width(w), height(h), bgr(static_cast<std::size_t>(w) * h * 3)
    {
        static constexpr std::uint32_t colours[] = {0x000000, 0x00FF00, 0x0000FF, 0xFF0000, 0xFF00FF, 0xFFFF00};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint32_t c = colours[(x / 8 + y / 8 * 3 + n) % 6];
                std::uint8_t* p = &bgr[(static_cast<std::size_t>(y) * w + x) * 3];
                p[0] = c & 0xFF;
                p[1] = (c >> 8) & 0xFF;
                p[2] = (c >> 16) & 0xFF;
            }
    }
    AviFrame frame() const { return {width, height, 24, width * 3, bgr.data()}; }
    std::uint32_t pixel(int x, int y) const
    {
        const std::uint8_t* p = &bgr[(static_cast<std::size_t>(y) * width + x) * 3];
        return static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[0];
    }
};

double meanError(const DecodedFrame& got, const Picture& want)
{
    double sum = 0;
    for (std::size_t i = 0; i < want.bgr.size(); ++i)
        sum += std::abs(int(got.bgr[i]) - int(want.bgr[i]));
    return sum / static_cast<double>(want.bgr.size());
}

std::string errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const AviError& e) {
        return e.what();
    }
    return "";
}

/// The writer as the main window sets it up: 256 × 256, not stretched.
struct Writer : AviWriter {
    Writer() : AviWriter(1280, 1024)
    {
        width = 256;
        height = 256;
        stretch = false;
    }
};

TEST(AviWriterTest, DefaultsAndPropertyChecks)
{
    const AviWriter w(1920, 1080);
    EXPECT_EQ(w.width, 192);
    EXPECT_EQ(w.height, 108);
    EXPECT_EQ(w.frameTime, 1000);
    EXPECT_TRUE(w.stretch);
    EXPECT_TRUE(w.onTheFly);
    EXPECT_EQ(w.quality, 5000);
    EXPECT_EQ(w.pixelFormat(), PixelFormat::pf24bit);
    EXPECT_EQ(fs::path(w.tempFileName).filename(), "~AWTemp.avi");

    const struct {
        PixelFormat format;
        bool accepted;
    } formats[] = {
        {PixelFormat::pf1bit, true},   {PixelFormat::pf4bit, true},   {PixelFormat::pf8bit, true},
        {PixelFormat::pf24bit, true},  {PixelFormat::pf32bit, true},  {PixelFormat::pf15bit, false},
        {PixelFormat::pf16bit, false}, {PixelFormat::pfDevice, false}, {PixelFormat::pfCustom, false},
    };
    for (const auto& f : formats) {
        AviWriter v(640, 480);
        const std::string error = errorOf([&] { v.setPixelFormat(f.format); });
        EXPECT_EQ(error, f.accepted ? "" : "Pixelformat not supported") << static_cast<int>(f.format);
        EXPECT_EQ(v.pixelFormat(), f.accepted ? f.format : PixelFormat::pf24bit);
    }

    const struct {
        const char* name;
        bool accepted;
    } wavs[] = {{"sound.wav", true}, {"SOUND.WAV", true}, {"", true}, {"sound.mp3", false}, {"wav", false}};
    for (const auto& c : wavs) {
        AviWriter v(640, 480);
        const std::string error = errorOf([&] { v.setWavFileName(c.name); });
        EXPECT_EQ(error, c.accepted ? "" : "WavFileName must name a file with the .wav extension") << c.name;
    }
}

TEST(AviWriterTest, CodecChoiceAndList)
{
    Writer w;
    const struct {
        const char* given;
        const char* chosen;
        const char* error;
    } cases[] = {
        {"", "", ""},
        {"FMP4 mpeg4", "FMP4", ""},
        {"MJPGxyz", "MJPG", ""},
        {"ZZZZ", "", "No compressor for ZZZZ available"},
        {"ZZZZ longer", "", "No compressor for ZZZZ available"},
    };
    for (const auto& c : cases) {
        w.setCompressor("FMP4");
        EXPECT_EQ(errorOf([&] { w.setCompressor(c.given); }), c.error) << c.given;
        EXPECT_EQ(w.compressorFourCC, c.chosen) << c.given;
    }

    std::vector<std::string> list{"stale"};
    w.listCompressors(list);
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list.front(), "No Compression");
    for (const char* line : {"FMP4 mpeg4", "MJPG mjpeg", "HFYU huffyuv", "FFV1 ffv1", "ZMBV zmbv", "DIB  rawvideo"})
        EXPECT_NE(std::find(list.begin(), list.end(), line), list.end()) << line;
    // Every codec line names a fourCc the writer takes back.
    for (std::size_t i = 1; i < list.size(); ++i) {
        ASSERT_GT(list[i].size(), 5u) << list[i];
        EXPECT_EQ(list[i][4], ' ') << list[i];
        EXPECT_EQ(errorOf([&] { w.setCompressor(list[i]); }), "") << list[i];
    }
}

TEST(AviWriterTest, StateAndFileErrors)
{
    TempFolder dir;
    const Picture picture(256, 256, 0);
    const struct {
        const char* name;
        std::function<void(AviWriter&)> act;
        const char* error;
    } cases[] = {
        {"a frame before initVideo", [&](AviWriter& w) { w.addFrame(picture.frame()); },
         "Video must be initialized."},
        {"saving without finalizeVideo",
         [&](AviWriter& w) {
             w.filename = dir / "a.avi";
             w.initVideo();
             w.saveAviFile();
         },
         "Video must be finalized"},
        {"a missing folder",
         [&](AviWriter& w) {
             w.filename = dir / "missing/a.avi";
             w.initVideo();
         },
         "Failed to create AVI video file. Err: $FFFFFFFE"},
        {"a frame time of 0",
         [&](AviWriter& w) {
             w.filename = dir / "b.avi";
             w.frameTime = 0;
             w.initVideo();
         },
         "Frame time must be at least 1 ms"},
        {"a frame without pixels",
         [&](AviWriter& w) {
             w.filename = dir / "c.avi";
             w.initVideo();
             w.addFrame(AviFrame{256, 256, 24, 768, nullptr});
         },
         "Failed to retrieve bitmap header and pixels. Err: 22"},
    };
    for (const auto& c : cases) {
        Writer w;
        EXPECT_EQ(errorOf([&] { c.act(w); }), c.error) << c.name;
    }
    EXPECT_FALSE(fs::exists(dir / "b.avi")) << "a refused frame time touches no file";
}

struct Road {
    const char* name;
    const char* fourCC;
    bool onTheFly;
    int frameTime;
    const char* codec;
    const char* rate;
    bool exact;
    /// Players take 4:2:0 where a codec is not lossless in RGB.
    const char* pixFmt;
};

const Road kRoads[] = {
    {"uncompressed on the fly, 50 ms", "", true, 50, "rawvideo", "20/1", true, "bgr24"},
    {"MPEG-4 on the fly, 1000 ms", "FMP4", true, 1000, "mpeg4", "1/1", false, "yuv420p"},
    {"MJPEG through the work file", "MJPG", false, 50, "mjpeg", "20/1", false, "yuvj420p"},
    {"uncompressed through the work file", "", false, 40, "rawvideo", "25/1", true, "bgr24"},
    {"HuffYUV on the fly", "HFYU", true, 50, "huffyuv", "20/1", true, "bgr0"},
    {"FFV1 through the work file", "FFV1", false, 100, "ffv1", "10/1", true, "bgr0"},
    {"H.264 on the fly", "H264", true, 50, "h264", "20/1", false, "yuv420p"},
};

TEST(AviWriterTest, WrittenFilesProbeAndDecodeBack)
{
    for (const Road& road : kRoads) {
        SCOPED_TRACE(road.name);
        TempFolder dir;
        Writer w;
        w.filename = dir / "out.avi";
        w.tempFileName = dir / "avi_TMP.avi";
        w.onTheFly = road.onTheFly;
        w.frameTime = road.frameTime;
        w.setCompressor(road.fourCC);
        w.setQuality(10000);
        w.initVideo();
        constexpr int kFrames = 7;
        for (int n = 0; n < kFrames; ++n) {
            w.addFrame(Picture(256, 256, n).frame());
            EXPECT_EQ(fs::exists(w.tempFileName), !road.onTheFly);
        }
        w.finalizeVideo();
        w.saveAviFile();
        EXPECT_FALSE(fs::exists(w.tempFileName)) << "the work file is gone after the save";

        EXPECT_EQ(ffprobeLine(w.filename), std::string(road.codec) + " 256x256 " + road.rate + " " + std::to_string(kFrames) + " frames");
        EXPECT_EQ(ffprobe(w.filename)["pix_fmt"], road.pixFmt);

        const auto frames = decodeAll(w.filename);
        ASSERT_EQ(frames.size(), static_cast<std::size_t>(kFrames));
        for (int n : {0, 3, kFrames - 1}) {
            const Picture want(256, 256, n);
            if (road.exact)
                EXPECT_EQ(frames[static_cast<std::size_t>(n)].bgr, want.bgr) << "frame " << n;
            else
                EXPECT_LT(meanError(frames[static_cast<std::size_t>(n)], want), 12.0) << "frame " << n;
        }
    }
}

TEST(AviWriterTest, PlacementOnTheTarget)
{
    const Picture picture(256, 256, 1);
    const struct {
        const char* name;
        bool stretch;
        int width, height;
        struct Spot {
            int x, y;
            int fromX, fromY; // -1: black
        } spots[4];
    } cases[] = {
        {"centred at (32, -8), cut top and bottom", false, 320, 240,
         {{31, 10, -1, -1}, {32, 0, 0, 8}, {287, 239, 255, 247}, {288, 100, -1, -1}}},
        {"stretched over the whole target", true, 128, 128,
         {{0, 0, 0, 0}, {1, 1, 2, 2}, {127, 127, 254, 254}, {64, 10, 128, 20}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        Writer w;
        w.width = c.width;
        w.height = c.height;
        w.stretch = c.stretch;
        w.filename = dir / "p.avi";
        w.initVideo();
        w.addFrame(picture.frame());
        w.finalizeVideo();
        w.saveAviFile();
        const auto frames = decodeAll(w.filename);
        ASSERT_EQ(frames.size(), 1u);
        ASSERT_EQ(frames[0].width, c.width);
        ASSERT_EQ(frames[0].height, c.height);
        for (const auto& s : c.spots) {
            const std::uint32_t want = s.fromX < 0 ? 0 : picture.pixel(s.fromX, s.fromY);
            EXPECT_EQ(frames[0].pixel(s.x, s.y), want) << "at (" << s.x << ", " << s.y << ")";
        }
    }
}

TEST(AviWriterTest, ProgressAndAbort)
{
    TempFolder dir;
    Writer w;
    w.filename = dir / "abort.avi";
    std::vector<int> reports;
    w.onProgress = [&](AviWriter&, std::int32_t count, bool& abort) {
        reports.push_back(count);
        abort = count >= 40;
    };
    w.initVideo();
    const Picture picture(256, 256, 2);
    for (int n = 0; n < 50; ++n)
        w.addFrame(picture.frame());
    EXPECT_EQ(reports, (std::vector<int>{20, 40}));
    EXPECT_EQ(w.frameCount, 40) << "frames after the abort are ignored";
    w.finalizeVideo();
    w.saveAviFile();
    // The file keeps the frames written before the abort.
    EXPECT_EQ(decodeAll(w.filename).size(), 40u);

    // The save of a work file reports by percentage of the frames.
    Writer v;
    v.filename = dir / "saved.avi";
    v.tempFileName = dir / "work.avi";
    v.onTheFly = false;
    v.initVideo();
    for (int n = 0; n < 10; ++n)
        v.addFrame(picture.frame());
    v.finalizeVideo();
    reports.clear();
    v.onProgress = [&](AviWriter&, std::int32_t count, bool&) { reports.push_back(count); };
    v.saveAviFile();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), 10);
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    EXPECT_FALSE(fs::exists(v.tempFileName));
}

} // namespace
