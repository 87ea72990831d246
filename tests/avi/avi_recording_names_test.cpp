#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "AviProbe.hpp"
#include "files/avi/AviRecording.hpp"
#include "files/avi/AviWriter.hpp"

namespace {

using namespace ostrovik::files::avi;
using ostrovik::files::avi::test::decodeAll;
using ostrovik::files::avi::test::ffprobeLine;
using ostrovik::files::avi::test::TempFolder;
namespace fs = std::filesystem;

TEST(AviRecordingTest, QualityByTheSettingsItem)
{
    const struct {
        int index;
        int quality;
    } cases[] = {{0, 10000}, {1, 9000}, {2, 8000}, {3, 6000}, {4, 4000}, {-1, 10000}, {5, 10000}};
    for (const auto& c : cases)
        EXPECT_EQ(recordingQuality(c.index), c.quality) << c.index;
}

TEST(AviRecordingTest, CodecCodeAndFileNames)
{
    const struct {
        const char* text;
        const char* code;
    } codes[] = {{"", ""}, {"No Compression", ""}, {"FMP4 mpeg4", "FMP4"}, {"MJ", "MJ"}, {"No Compression ", "No C"}};
    for (const auto& c : codes)
        EXPECT_EQ(recordingCompressor(c.text), c.code) << c.text;

    EXPECT_EQ(recordingFileName("/opt/ostrovik", "08_12_2026_23_59_01"),
              "/opt/ostrovik/ScreenAVI/avi_08_12_2026_23_59_01.avi");
    EXPECT_EQ(recordingTempFileName("/opt/ostrovik/", "08_12_2026_23_59_02"),
              "/opt/ostrovik/avi_TMP_08_12_2026_23_59_02.avi");
}

std::string contentsOf(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(AviRecordingTest, RecordingsInOneSecondAllSurvive)
{
    // Recordings named with one stamp, three of them running at once, by
    // either road, where a file of that name and someone else's work file of
    // the second name already stand: each takes its own number, a work file
    // the same number as its recording, and nothing that stood is touched.
    TempFolder dir;
    const std::string stamp = "08_12_2026_23_59_01";
    const fs::path screen = dir.path() / "ScreenAVI";
    fs::create_directories(screen);
    const fs::path kept = screen / ("avi_" + stamp + ".avi");
    const fs::path foreignWork = dir.path() / ("avi_TMP_" + stamp + "_2.avi");
    std::ofstream(kept) << "an earlier recording";
    std::ofstream(foreignWork) << "another copy's work file";

    const struct {
        bool onTheFly;
        const char* name;   // what it is saved as
        const char* work;   // its work file, while it runs
    } cases[] = {
        {false, "_3", "_3"}, // _2 would not match its work file's name
        {true, "_2", nullptr},
        {false, "_4", "_4"},
        {true, "_5", nullptr}, // started after the first has ended
    };
    std::vector<std::unique_ptr<AviWriter>> writers;
    const auto start = [&](const auto& c) {
        auto w = std::make_unique<AviWriter>(1280, 1024);
        w->width = 256;
        w->height = 256;
        w->stretch = false;
        w->frameTime = 50;
        w->onTheFly = c.onTheFly;
        w->filename = recordingFileName(dir.path().string(), stamp);
        w->tempFileName = recordingTempFileName(dir.path().string(), stamp);
        w->initVideo();
        EXPECT_EQ(w->filename, (screen / ("avi_" + stamp + c.name + ".avi")).string());
        if (c.work) {
            EXPECT_EQ(w->tempFileName, (dir.path() / ("avi_TMP_" + stamp + c.work + ".avi")).string());
            EXPECT_TRUE(fs::exists(w->tempFileName));
        }
        writers.push_back(std::move(w));
    };
    const auto stop = [&](std::size_t i) {
        // Recording i has i + 1 frames of its own colour.
        AviWriter& w = *writers[i];
        std::vector<std::uint8_t> bgr(256 * 256 * 3, static_cast<std::uint8_t>(40 * (i + 1)));
        for (std::size_t f = 0; f <= i; ++f)
            w.addFrame({256, 256, 24, 256 * 3, bgr.data()});
        w.finalizeVideo();
        w.saveAviFile();
    };
    start(cases[0]);
    start(cases[1]);
    start(cases[2]);
    stop(1);
    stop(0);
    start(cases[3]);
    stop(3);
    stop(2);
    writers.clear();

    EXPECT_EQ(contentsOf(kept), "an earlier recording");
    EXPECT_EQ(contentsOf(foreignWork), "another copy's work file");
    std::set<std::string> left;
    for (const auto& e : fs::directory_iterator(dir.path()))
        left.insert(e.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"ScreenAVI", foreignWork.filename().string()})) << "work files gone";
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const fs::path file = screen / ("avi_" + stamp + cases[i].name + ".avi");
        SCOPED_TRACE(file.filename().string());
        EXPECT_EQ(ffprobeLine(file), "rawvideo 256x256 20/1 " + std::to_string(i + 1) + " frames");
        const auto frames = decodeAll(file);
        ASSERT_EQ(frames.size(), i + 1);
        EXPECT_EQ(static_cast<std::size_t>(frames.back().bgr.front()), 40 * (i + 1));
    }
}

} // namespace
