// The main window's text roads: the ROM's console into the log window, the
// ROM's tape-load dialog, and clipboard text typed into the machine.

#include <QPlainTextEdit>

#include "platform/qt/FileNames.hpp"
#include "kit/Dialogs.hpp"
#include "kit/InputHold.hpp"
#include "ui/DesktopServices.hpp"
#include "ui/LogWindow.hpp"
#include "ui/MainWindow.hpp"
#include "ui/TapeOpenDialog.hpp"
#include "kit/Text.hpp"

namespace ostrovik::ui {

using kit::dialogs;
using kit::fromUtf8;

std::optional<std::string> MainWindow::chooseTapeFile()
{
    // Once the window is closed nothing is asked: the program is ending.
    if (closing_)
        return std::nullopt;
    const auto name = dialogs().openFileClosable(this, TapeOpenDialog::title(),
                                                 platform::fileNameText(platform::executableFolder()),
                                                 TapeOpenDialog::filter(), TapeOpenDialog::defaultSuffix());
    if (!name)
        return std::nullopt;
    const std::string path = platform::fileNamePath(*name);
    setCurrentFileName(path);
    return path;
}

void MainWindow::machineWaitBegins()
{
    if (machineWaitDepth_++ > 0)
        return;
    // The windows open now are held before the dialog opens, so that the
    // dialog and the boxes of the load after it are not.
    inputHold_ = std::make_unique<kit::InputHold>();
    emit machineWaitChanged(true);
}

void MainWindow::machineWaitEnds()
{
    if (machineWaitDepth_ == 0 || --machineWaitDepth_ > 0)
        return;
    inputHold_.reset();
    emit machineWaitChanged(false);
}

void MainWindow::pasteClipboard()
{
    DesktopClipboard clipboard;
    guarded([&] { session_.paste(clipboard); });
}

void MainWindow::showLogWindow()
{
    if (!logWindow_)
        logWindow_ = new LogWindow(this);
    logWindow_->show();
    logWindow_->raise();
}

bool MainWindow::logShown() const
{
    return logWindow_ && logWindow_->isVisible();
}

void MainWindow::appendLogLine(std::string_view line)
{
    if (logWindow_)
        logWindow_->logTextView->appendPlainText(fromUtf8(line));
}

void MainWindow::clearLog()
{
    if (logWindow_)
        logWindow_->logTextView->clear();
}

} // namespace ostrovik::ui
