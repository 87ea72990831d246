// The main window's AVI recording: the tool button that starts and stops it,
// the timer that hands the writer a frame every 50 ms, and the stop that
// completes the file.

#include <QGuiApplication>
#include <QScreen>

#include "files/TimeStamp.hpp"
#include "files/avi/AviRecording.hpp"
#include "files/avi/AviWriter.hpp"
#include "output/Antialiasing.hpp"
#include "output/FrameDecode.hpp"
#include "platform/qt/PlatformTimer.hpp"
#include "ui/MainWindow.hpp"
#include "ui/MainMenu.hpp"

namespace ostrovik::ui {

using kit::Icon;

namespace {
constexpr MenuItem kRecordAviButton = menu::RecordAviButton;
constexpr int kAviInterval = 50;
} // namespace

void MainWindow::createAviWriter()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize();
    aviWriter_ = std::make_unique<files::avi::AviWriter>(size.width(), size.height());
    // As the window was designed: the machine's frame, neither stretched nor
    // converted, one second per frame until a recording sets its own.
    aviWriter_->width = 256;
    aviWriter_->height = 256;
    aviWriter_->frameTime = 1;
    aviWriter_->stretch = false;
    aviWriter_->setPixelFormat(files::avi::PixelFormat::pf24bit);

    aviTimer_ = new platform::PlatformTimer(this);
    aviTimer_->setObjectName(QStringLiteral("aviTimer_"));
    aviTimer_->setInterval(kAviInterval);
    connect(aviTimer_, &platform::PlatformTimer::timeout, this, [this] { recordAviFrame(); });
}

bool MainWindow::recording() const
{
    return aviTimer_ && aviTimer_->isEnabled();
}

void MainWindow::toggleAviRecording()
{
    if (recording()) {
        stopAviRecording();
        return;
    }
    guarded([this] {
        files::avi::AviWriter& w = *aviWriter_;
        const std::string& dir = machine_.programDir;
        w.filename = files::avi::RecordingFileName(dir, files::fileTimeStampNow());
        w.tempFileName = files::avi::RecordingTempFileName(dir, files::fileTimeStampNow());
        w.setCompressor(files::avi::RecordingCompressor(settingsStore_.compressor()));
        w.setQuality(files::avi::RecordingQuality(settingsStore_.recordingQuality()));
        w.width = 256;
        w.height = 256;
        w.frameTime = settingsStore_.frameTime();
        w.setWavFileName({});
        w.stretch = false;
        w.onTheFly = settingsStore_.compressOnTheFly();
        w.initVideo();
        aviTimer_->setEnabled(true);
    });
}

const output::FrameBitmap& MainWindow::aviFrame()
{
    if (const output::FrameBitmap* shown = session_.screen().shownBitmap())
        return *shown;
    // The OpenGL presentation keeps no frame: decode one, smoothed as the
    // raster presentation would show it.
    if (!aviDecoded_)
        aviDecoded_ = std::make_unique<output::FrameBitmap>();
    output::decodeFrame(machine_, session_.colorTable(), grayTV(), *aviDecoded_);
    if (session_.screen().BlurEnabled)
        output::Antialiasing(*aviDecoded_);
    return *aviDecoded_;
}

void MainWindow::recordAviFrame()
{
    menus_->setImage(kRecordAviButton,
                     menus_->image(kRecordAviButton) == Icon::AviFilm ? Icon::AviRecording : Icon::AviFilm);
    const bool written = guarded([this] {
        const output::FrameBitmap& frame = aviFrame();
        aviWriter_->addFrame({output::FrameBitmap::Width, output::FrameBitmap::Height, 24,
                             output::FrameBitmap::BytesPerLine, frame.Bits.data()});
    });
    // A frame that cannot be written would fail again on every tick: the
    // recording ends with the frames it has.
    if (!written)
        stopAviRecording();
}

void MainWindow::stopAviRecording()
{
    aviTimer_->setEnabled(false);
    guarded([this] {
        aviWriter_->finalizeVideo();
        aviWriter_->saveAviFile();
    });
    menus_->setImage(kRecordAviButton, Icon::AviFilm);
}

} // namespace ostrovik::ui
