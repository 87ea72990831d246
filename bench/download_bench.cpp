// The downloader on the loopback catalogue with 20 ms added to every answer:
// 100 games of 10 files each, method 1 against method 2 in one run, and the
// longest time the window's thread goes without handling its events while
// method 2's workers run. Targets: method 2 at least 5 times faster; no
// pause of the window's thread above 50 ms.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QLineEdit>
#include <QTimer>

#include "CatalogueServer.hpp"
#include "games/CatalogueDownloader.hpp"
#include "games/GameLibrary.hpp"
#include "BenchEmulator.hpp"
#include "games/qt/GameDownloaderForm.hpp"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);

    std::vector<CatalogueServer::Game> games;
    for (int i = 0; i < 100; ++i) {
        const std::string name = "Game" + std::to_string(i);
        CatalogueServer::Game g{name, "Title " + std::to_string(i), "5", "About", {"screen1.png", "screen2.png"}, true};
        g.files.push_back(name + ".lvt");
        for (int k = 0; k <= 6; ++k)
            g.files.push_back(name + ".lv" + std::to_string(k));
        games.push_back(g);
    }
    CatalogueServer server(games, {{"delay_ms", 20}});

    const auto runMethod = [&](int method, double& seconds, double& longestPause) {
        const fs::path program = fs::temp_directory_path() / ("ostrovik-download-bench-" + std::to_string(method));
        fs::remove_all(program);
        fs::create_directories(ostrovik::games::LibraryRoot(program.string()));
        BenchEmulator emulator(program.string());
        ostrovik::games::GameDownloaderForm form(emulator);
        form.WebEdit->setText(QString::fromStdString(server.games()));
        // A 1 ms timer: the gap between its ticks is how long the window's
        // thread went without handling events.
        QElapsedTimer sinceTick;
        qint64 longest = 0;
        QTimer ticker;
        ticker.setInterval(1);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            longest = std::max(longest, sinceTick.restart());
        });
        const auto start = Clock::now();
        sinceTick.start();
        ticker.start();
        if (method == 1) {
            form.downloadPageByPage();
        } else {
            form.downloadFast();
            while (form.downloader().unfinishedWorkers() > 0)
                QApplication::processEvents(QEventLoop::AllEvents, 5);
            QApplication::processEvents();
        }
        seconds = secondsSince(start);
        ticker.stop();
        longestPause = static_cast<double>(longest);
        const int files = static_cast<int>(std::count_if(fs::recursive_directory_iterator(program),
                                                         fs::recursive_directory_iterator(),
                                                         [](const auto& e) { return e.is_regular_file(); }));
        std::printf("method %d: %.2f s, %d files in the library, window thread paused at most %.0f ms\n", method,
                    seconds, files, longestPause);
        fs::remove_all(program);
    };
    double one = 0, two = 0, pauseOne = 0, pauseTwo = 0;
    runMethod(1, one, pauseOne);
    runMethod(2, two, pauseTwo);
    std::printf("method 2 is %.1f times as fast as method 1 (target >= 5), with %zu workers at once\n", one / two,
                ostrovik::games::kMaxRunningWorkers);
    std::printf("method 2: the window's thread went at most %.0f ms without its events (target <= 50 ms)\n",
                pauseTwo);
    return 0;
}
