// The main window's AVI recording: the tool button that starts and stops the
// session's recording, the timer that has it take a frame every 50 ms, and
// the stop that completes the file.

#include <QGuiApplication>
#include <QScreen>

#include "platform/qt/PlatformTimer.hpp"
#include "ui/MainWindow.hpp"
#include "ui/MainMenu.hpp"

namespace ostrovik::ui {

using kit::Icon;

namespace {
constexpr MenuItem kRecordAviButton = menu::RecordAviButton;
constexpr int kAviInterval = 50;
} // namespace

session::DesktopSize MainWindow::desktopSize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize();
    return {size.width(), size.height()};
}

void MainWindow::createAviTimer()
{
    aviTimer_ = new platform::PlatformTimer(this);
    aviTimer_->setObjectName(QStringLiteral("aviTimer_"));
    aviTimer_->setInterval(kAviInterval);
    connect(aviTimer_, &platform::PlatformTimer::timeout, this, [this] { recordAviFrame(); });
}

bool MainWindow::recording() const
{
    return session_.recording();
}

void MainWindow::toggleAviRecording()
{
    if (recording()) {
        stopAviRecording();
        return;
    }
    guarded([this] {
        session_.startRecording({settingsStore_.compressor(), settingsStore_.recordingQuality(),
                                 settingsStore_.frameTime(), settingsStore_.compressOnTheFly()});
        aviTimer_->setEnabled(true);
    });
}

void MainWindow::recordAviFrame()
{
    menus_->setImage(kRecordAviButton,
                     menus_->image(kRecordAviButton) == Icon::AviFilm ? Icon::AviRecording : Icon::AviFilm);
    guarded([this] { session_.recordFrame(grayTV()); });
    // A frame that could not be written has ended the recording.
    if (!recording()) {
        aviTimer_->setEnabled(false);
        menus_->setImage(kRecordAviButton, Icon::AviFilm);
    }
}

void MainWindow::stopAviRecording()
{
    aviTimer_->setEnabled(false);
    guarded([this] { session_.stopRecording(); });
    menus_->setImage(kRecordAviButton, Icon::AviFilm);
}

} // namespace ostrovik::ui
