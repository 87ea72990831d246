// The session's pictures: the frames a screenshot and a recording take, and
// the AVI recording itself.

#include "files/TimeStamp.hpp"
#include "files/avi/AviRecording.hpp"
#include "files/avi/AviWriter.hpp"
#include "output/Antialiasing.hpp"
#include "output/FrameDecode.hpp"
#include "session/EmulatorSession.hpp"

namespace ostrovik::session {

output::FrameBitmap& EmulatorSession::decodedFrame(bool grayTv)
{
    if (!decoded_)
        decoded_ = std::make_unique<output::FrameBitmap>();
    output::decodeFrame(machine_, *colorTable_, grayTv, *decoded_);
    return *decoded_;
}

const output::FrameBitmap& EmulatorSession::recordingFrame(bool grayTv)
{
    if (const output::FrameBitmap* shown = screen_.shownBitmap())
        return *shown;
    // The OpenGL presentation keeps no frame: decode one, smoothed as the
    // raster presentation would show it.
    output::FrameBitmap& frame = decodedFrame(grayTv);
    if (screen_.blurEnabled)
        output::antialiasing(frame);
    return frame;
}

const output::FrameBitmap& EmulatorSession::screenshotFrame(bool grayTv)
{
    if (screen_.screenBitmap)
        return *screen_.screenBitmap;
    // The OpenGL presentation keeps no frame: decode one for the picture.
    return decodedFrame(grayTv);
}

void EmulatorSession::startRecording(const RecordingOptions& options)
{
    files::avi::AviWriter& w = *recorder_;
    const std::string& dir = machine_.programDir;
    const std::string stamp = recordingStamp ? recordingStamp() : files::fileTimeStampNow();
    w.filename = files::avi::recordingFileName(dir, stamp);
    w.tempFileName = files::avi::recordingTempFileName(dir, stamp);
    w.setCompressor(files::avi::recordingCompressor(options.compressor));
    w.setQuality(files::avi::recordingQuality(options.quality));
    w.width = 256;
    w.height = 256;
    w.frameTime = options.frameTime;
    w.setWavFileName({});
    w.stretch = false;
    w.onTheFly = options.onTheFly;
    w.initVideo();
    recording_ = true;
}

void EmulatorSession::recordFrame(bool grayTv)
{
    if (!recording_)
        return;
    const output::FrameBitmap& frame = recordingFrame(grayTv);
    try {
        recorder_->addFrame({output::FrameBitmap::kWidth, output::FrameBitmap::kHeight, 24,
                             output::FrameBitmap::kBytesPerLine, frame.bits.data()});
    } catch (...) {
        // A frame that cannot be written would fail again on every tick: the
        // recording ends with the frames it has.
        stopRecording();
        throw;
    }
}

void EmulatorSession::stopRecording()
{
    if (!recording_)
        return;
    recording_ = false;
    recorder_->finalizeVideo();
    recorder_->saveAviFile();
}

} // namespace ostrovik::session
