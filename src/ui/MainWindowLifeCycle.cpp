// The main window's life: creation, the power-on at its first activation,
// resizing, the stop sequence; and what it does for the settings window and
// a file handed over by a later start.

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QResizeEvent>
#include <QWindow>

#include <QGuiApplication>
#include <QScreen>

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

using kit::Icon;
using kit::ReadIni;
using kit::ReadOption;
using kit::ReportUnableToWrite;
using kit::WriteIni;

using namespace settings;

namespace {

// A key the file lacks reads as the option's first-run value.
bool storedFlag(machine::Option which)
{
    return ReadOption(which) == QLatin1String("1");
}

// A stored number that is not one counts as absent.
int storedNumber(std::string_view key)
{
    return DecimalOr(ReadIni(kAutoStartUpOptions, key).toStdString(), 0);
}

} // namespace

void MainWindow::setUpWindow(const QStringList& args)
{
    // The drop handler itself comes with the file hand-over.
    setAcceptDrops(true);
    machine_.commandLineFile.clear();

    session_.screen().BlurEnabled = storedFlag(machine::Option::Blur) ? 1 : 0;
    menus_->setChecked(menu::Blur, session_.screen().BlurEnabled != 0);

    session_.setRenderMode(output::presentedRenderMode(
        DecimalOr(ReadOption(machine::Option::RenderingMode).toStdString(), kDefaultRenderingMode)));
    presentation_->changeRenderMode(session_.renderMode());

    firstActivationPending_ = true;
    if (!args.isEmpty())
        machine_.commandLineFile = platform::FileNamePath(args.first());

    const int height = storedNumber(kFormHeight);
    const int width = storedNumber(kFormWidth);
    // A size larger than the screen's free area would put the close box out
    // of reach (and a huge one costs the memory of its surface): such a
    // stored size gives way to the first-run size.
    const QScreen* desk = QGuiApplication::primaryScreen();
    const QSize room = desk ? desk->availableGeometry().size() : QSize();
    if (height > 0 && width > 0 && width <= room.width() && height <= room.height()) {
        storedOuterSize_ = QSize(width, height);
        applyStoredWindowSize();
    }
}

// The stored size is the outer one, frame included. The frame is known only
// once the desktop has put the window up, so the size is set again then.
void MainWindow::applyStoredWindowSize()
{
    if (storedOuterSize_.isEmpty())
        return;
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    resize(storedOuterSize_.width() - frame.left() - frame.right(),
           storedOuterSize_.height() - frame.top() - frame.bottom());
    if (!frame.isNull())
        storedOuterSize_ = QSize();
}

void MainWindow::activateFirstTime()
{
    // The desktop may have framed the window only by now.
    applyStoredWindowSize();
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
        const bool gray = settingsStore_.checked(machine::Option::Gray);
        menus_->setChecked(menu::GrayTv, gray);
        menus_->setImage(menu::GrayTvButton, gray ? Icon::GrayTv : Icon::ColourTv);
        if (!settingsStore_.checked(machine::Option::RunSound)) {
            // Silent from the start; the power-on still sets the wave format.
            menus_->setChecked(menu::Sound, false);
            menus_->setImage(menu::Sound, Icon::SoundOff);
            menus_->setImage(menu::SoundButton, Icon::SoundOff);
            session_.setSoundOn(false);
        }
        if (settingsStore_.checked(machine::Option::Screen256x256)) {
            storedOuterSize_ = QSize();
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
            ReportUnableToWrite(this, status.message);
    settingsStore_.load();
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // Resized by hand before the frame was known: that size is the one to keep.
    if (!storedOuterSize_.isEmpty() && event->size() != storedOuterSize_)
        storedOuterSize_ = QSize();
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
    session_.screen().ScreenBitmap.reset();
    session_.screen().BlurBitmap.reset();
    session_.setSoundOn(false);

    // Never framed (no desktop put it up): the size asked for is the outer one.
    const QSize outer = storedOuterSize_.isEmpty() ? frameGeometry().size() : storedOuterSize_;
    if (WriteIni(kAutoStartUpOptions, kFormHeight, QString::number(outer.height()), this))
        WriteIni(kAutoStartUpOptions, kFormWidth, QString::number(outer.width()), this);
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
    setWindowTitle(platform::FileNameText(name));
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
