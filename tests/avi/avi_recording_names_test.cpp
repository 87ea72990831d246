#include <gtest/gtest.h>

#include "files/avi/AviRecording.hpp"

namespace {

using namespace ostrovik::files::avi;

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

} // namespace
