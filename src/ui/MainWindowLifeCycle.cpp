// The main window's life: creation, the power-on at its first activation,
// resizing, the stop sequence; and what it does for the settings window and
// a file handed over by a later start.

#include <QCloseEvent>
#include <QResizeEvent>


#include "output/RenderMode.hpp"
#include "output/qt/ScreenView.hpp"
#include "platform/qt/FileNames.hpp"
#include "output/sound/Beeper.hpp"
#include "platform/qt/PlatformTimer.hpp"
#include "ui/MainWindow.hpp"
#include "ui/MainMenu.hpp"
#include "kit/Settings.hpp"
#include "settings/SettingsSchema.hpp"

namespace ostrovik::ui {

using kit::readOption;
using kit::reportUnableToWrite;

using namespace settings;

namespace {

// A key the file lacks reads as the option's first-run value.
bool storedFlag(machine::Option which)
{
    return readOption(which) == QLatin1String("1");
}

} // namespace

void MainWindow::setUpWindow(const QStringList& args)
{
    // The drop handler itself comes with the file hand-over.
    setAcceptDrops(true);
    machine_.commandLineFile.clear();

    session_.screen().blurEnabled = storedFlag(machine::Option::Blur) ? 1 : 0;
    menus_->setChecked(menu::Blur, session_.screen().blurEnabled != 0);

    presentation_->changeRenderMode(output::presentedRenderMode(
        decimalOr(readOption(machine::Option::RenderingMode).toStdString(), kDefaultRenderingMode)));

    firstActivationPending_ = true;
    if (!args.isEmpty())
        machine_.commandLineFile = platform::fileNamePath(args.first());

    storedSize_.restore();
}

void MainWindow::activateFirstTime()
{
    // The desktop may have framed the window only by now.
    storedSize_.applyOnceFramed();
    if (!firstActivationPending_)
        return;
    firstActivationPending_ = false;

    guarded([this] {
        loadSettings();
        recentFiles_->read();
        // Just loaded: what the file holds.
        if (settingsStore_.checked(machine::Option::Language))
            switchToRussian();
        else
            switchToEnglish();
        menus_->setChecked(menu::FullScreen, settingsStore_.checked(machine::Option::FullScreen));
        screenView().setStretch(fullScreen());
        menus_->showGrayTv(settingsStore_.checked(machine::Option::Gray));
        if (!settingsStore_.checked(machine::Option::RunSound)) {
            // Silent from the start; the power-on still sets the wave format.
            menus_->showSoundOn(false);
            session_.setSoundOn(false);
        }
        if (settingsStore_.checked(machine::Option::Screen256x256)) {
            storedSize_.forget();
            setScreen256x256();
        }
    });
    guarded([this] { powerOn(); });
    emit firstActivated();
}

void MainWindow::loadSettings()
{
    // A first start, or the file deleted meanwhile: the complete write from
    // the store as it stands, as the settings window's Save makes it.
    if (!settingsStore_.fileExists())
        if (const platform::IniStatus status = settingsStore_.save(); !status)
            reportUnableToWrite(this, status.message);
    settingsStore_.load();
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    storedSize_.resized(event->size());
    presentation_->fitToWindow(fullScreen());
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // A machine that keeps asking for a tape (a ROM image of zeros runs into
    // the tape-load entry again and again) must not hold the program open:
    // closing stops it at once, and the stop sequence follows at exit.
    closing_ = true;
    frameTimer_->setEnabled(false);
    QMainWindow::closeEvent(event);
}

void MainWindow::tearDown()
{
    frameTimer_->setEnabled(false);
    // A recording still running is finished and saved before anything it
    // reads goes.
    if (recording())
        stopAviRecording();
    joystickCapture_->releaseAtExit();
    setAcceptDrops(false);
    session_.screen().screenBitmap.reset();
    session_.screen().blurBitmap.reset();
    session_.setSoundOn(false);

    storedSize_.save();
}

void MainWindow::setTimerInterval(int milliseconds)
{
    frameTimer_->setInterval(milliseconds);
}

int MainWindow::timerInterval() const
{
    return frameTimer_->interval();
}

QMenu* MainWindow::fileMenu() const
{
    return menus_->submenu(menu::FileMenu);
}

bool MainWindow::openHandedOverFile(const QByteArray& name)
{
    // Through the caption's own conversion, so that a name that is not UTF-8
    // reads as it does when given on the command line.
    setCaption(std::string_view(name.constData(), static_cast<std::size_t>(name.size())));
    bool loaded = false;
    guarded([&] { loaded = tryLoadFile(name.toStdString(), true); });
    return loaded;
}

std::string MainWindow::option(machine::Option which) const
{
    return settingsStore_.text(which);
}

bool MainWindow::quickRun() const
{
    return settingsStore_.checked(machine::Option::QuickRun);
}

} // namespace ostrovik::ui
