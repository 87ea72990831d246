// The main window's file roads: files dropped on it, snapshot saving and
// screenshots.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QTimer>

#include "files/SaveSnapshot.hpp"
#include "platform/qt/FileNames.hpp"
#include "files/ScreenShot.hpp"
#include "ui/DesktopServices.hpp"
#include "ui/MainWindow.hpp"
#include "ui/ScreenShots.hpp"

namespace ostrovik::ui {

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (firstDroppedFile(event->mimeData()).empty())
        return;
    event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    // Only the first file of a drop is loaded.
    const std::string path = firstDroppedFile(event->mimeData());
    if (path.empty())
        return;
    event->acceptProposedAction();
    // The load, and any message it shows, waits until the drag is over, so
    // that the program the file came from is not kept waiting for it.
    QTimer::singleShot(0, this, [this, path] {
        // Shown as a name given on the command line or handed over is.
        setCaption(path);
        guarded([&] { loadFile(path, true); });
    });
}

void MainWindow::saveSnapshot()
{
    guarded([this] { files::saveSnapshot(machine_, platform::fileNamePath(currentFileName_)); });
}

int MainWindow::screenShotFormat() const
{
    return settingsStore_.screenShotFormat();
}

void MainWindow::takeScreenshot()
{
    guarded([this] {
        const int format = screenShotFormat();
        if (!files::screenShotExtension(format))
            return;
        saveScreenShot(session_.screenshotFrame(grayTV()), format, machine_.programDir);
    });
}

} // namespace ostrovik::ui
