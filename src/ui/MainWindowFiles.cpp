// The main window's file roads: files dropped on it, snapshot saving and
// screenshots.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "files/SaveSnapshot.hpp"
#include "platform/qt/FileNames.hpp"
#include "files/ScreenShot.hpp"
#include "ui/MainWindow.hpp"
#include "ui/ScreenShots.hpp"

namespace ostrovik::ui {

namespace {

/// The first item of a drop as a local path; empty when it is not a local file.
QString firstDroppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return {};
    return urls.first().toLocalFile();
}

} // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (firstDroppedFile(event->mimeData()).isEmpty())
        return;
    event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    // Only the first file of a drop is loaded.
    const QString path = firstDroppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // The load, and any message it shows, waits until the drag is over, so
    // that the program the file came from is not kept waiting for it.
    QTimer::singleShot(0, this, [this, path] {
        setWindowTitle(path);
        guarded([&] { loadFile(platform::FileNamePath(path), true); });
    });
}

void MainWindow::saveSnapshot()
{
    guarded([this] { files::saveSnapshot(machine_, platform::FileNamePath(currentFileName_)); });
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
