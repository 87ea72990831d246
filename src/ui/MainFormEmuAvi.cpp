// The main window's AVI recording: the tool button that starts and stops it,
// the timer that hands the writer a frame every 50 ms, and the stop that
// completes the file.

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QSpinBox>

#include "files/TimeStamp.hpp"
#include "files/avi/AviRecording.hpp"
#include "files/avi/AviWriter.hpp"
#include "output/Antialiasing.hpp"
#include "output/FrameDecode.hpp"
#include "platform/qt/PlatformTimer.hpp"
#include "ui/MainFormEmu.hpp"
#include "ui/MainMenu.hpp"
#include "ui/SetUpForm.hpp"
#include "ui/kit/SettingsSchema.hpp"

namespace ostrovik::ui {

namespace {
constexpr MenuItem kRecordAviButton = menu::RecordAviButton;
constexpr int kAviInterval = 50;
// The quality item chosen at design: "High".
constexpr int kDesignQualityIndex = 2;
} // namespace

void TMainFormEmu::createAviWriter()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize();
    AviWriter = std::make_unique<files::avi::TAviWriter_2>(size.width(), size.height());
    // As the window was designed: the machine's frame, neither stretched nor
    // converted, one second per frame until a recording sets its own.
    AviWriter->Width = 256;
    AviWriter->Height = 256;
    AviWriter->FrameTime = 1;
    AviWriter->Stretch = false;
    AviWriter->SetPixelFormat(files::avi::TPixelFormat::pf24bit);

    TimerAvi = new platform::PlatformTimer(this);
    TimerAvi->setObjectName(QStringLiteral("TimerAvi"));
    TimerAvi->setInterval(kAviInterval);
    connect(TimerAvi, &platform::PlatformTimer::timeout, this, [this] { TimerAviTimer(); });
}

bool TMainFormEmu::recording() const
{
    return TimerAvi && TimerAvi->isEnabled();
}

void TMainFormEmu::toggleAviRecording()
{
    if (recording()) {
        stopAviRecording();
        return;
    }
    guarded([this] {
        files::avi::TAviWriter_2& w = *AviWriter;
        const std::string& dir = machine_.ProgramDir;
        w.filename = files::avi::RecordingFileName(dir, files::fileTimeStampNow());
        w.TempFileName = files::avi::RecordingTempFileName(dir, files::fileTimeStampNow());
        const QString codec = SetUpForm ? SetUpForm->codecBox->currentText() : QString();
        w.SetCompressor(files::avi::RecordingCompressor(codec.toStdString()));
        w.SetQuality(files::avi::RecordingQuality(SetUpForm ? SetUpForm->qualityBox->currentIndex()
                                                            : kDesignQualityIndex));
        w.Width = 256;
        w.Height = 256;
        w.FrameTime = SetUpForm ? SetUpForm->frameTimeBox->value() : settings::kDefaultFrameTime;
        w.SetWavFileName({});
        w.Stretch = false;
        w.OnTheFly = SetUpForm ? SetUpForm->onTheFlyBox->isChecked() : true;
        w.InitVideo();
        TimerAvi->setEnabled(true);
    });
}

const output::FrameBitmap& TMainFormEmu::aviFrame()
{
    if (const output::FrameBitmap* shown = screen_->shownBitmap())
        return *shown;
    // The OpenGL presentation keeps no frame: decode one, smoothed as the
    // raster presentation would show it.
    if (!aviDecoded_)
        aviDecoded_ = std::make_unique<output::FrameBitmap>();
    output::decodeFrame(machine_, *ColorTable, grayTV(), *aviDecoded_);
    if (screen_->BlurEnabled)
        output::Antialiasing(*aviDecoded_);
    return *aviDecoded_;
}

void TMainFormEmu::TimerAviTimer()
{
    menus_->setImage(kRecordAviButton,
                     menus_->image(kRecordAviButton) == Icon::AviFilm ? Icon::AviRecording : Icon::AviFilm);
    const bool written = guarded([this] {
        const output::FrameBitmap& frame = aviFrame();
        AviWriter->AddFrame({output::FrameBitmap::Width, output::FrameBitmap::Height, 24,
                             output::FrameBitmap::BytesPerLine, frame.Bits.data()});
    });
    // A frame that cannot be written would fail again on every tick: the
    // recording ends with the frames it has.
    if (!written)
        stopAviRecording();
}

void TMainFormEmu::stopAviRecording()
{
    TimerAvi->setEnabled(false);
    guarded([this] {
        AviWriter->FinalizeVideo();
        AviWriter->SaveAviFile();
    });
    menus_->setImage(kRecordAviButton, Icon::AviFilm);
}

} // namespace ostrovik::ui
