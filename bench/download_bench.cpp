// The downloader window on the loopback catalogue with 20 ms added to every
// answer: 100 games of 10 files each, fetched by each of the three methods
// to its end, and the longest time the window's thread goes without
// handling its events meanwhile. Then the hostile catalogues: a 3 MB title
// for method 1, a 6 MB "FullName" for method 3. Targets: method 2 at least 5
// times as fast as method 1; no pause of the window's thread above 100 ms.
// A run that leaves a file out of the library fails the benchmark.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

#include "BenchEmulator.hpp"
#include "CatalogueServer.hpp"
#include "games/CatalogueDownloader.hpp"
#include "games/GameLibrary.hpp"
#include "games/qt/GameDownloaderForm.hpp"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr double kPauseTargetMs = 100;

/// What one run of a method took.
struct RunResult {
    double seconds = 0;
    double longestPauseMs = 0;
    int files = 0;
    bool ended = false;
};

/// Runs @p method of a fresh window on @p server to its end (and its
/// workers'), with an empty library, and counts the library's files.
RunResult runMethod(const CatalogueServer& server, int method, const std::string& tag)
{
    const fs::path program = fs::temp_directory_path() / ("ostrovik-download-bench-" + tag);
    fs::remove_all(program);
    fs::create_directories(ostrovik::games::libraryRoot(program.string()));
    RunResult result;
    {
        BenchEmulator emulator(program.string());
        ostrovik::games::GameDownloaderForm form(emulator);
        form.webEdit->setText(QString::fromStdString(server.games()));
        form.jsonEdit->setText(QString::fromStdString(server.address("/games/list.php")));
        // A 1 ms timer: the gap between its ticks is how long the window's
        // thread went without handling events.
        QElapsedTimer sinceTick;
        qint64 longest = 0;
        QTimer ticker;
        ticker.setInterval(1);
        QObject::connect(&ticker, &QTimer::timeout, [&] { longest = std::max(longest, sinceTick.restart()); });
        const auto start = Clock::now();
        sinceTick.start();
        ticker.start();
        if (method == 1)
            form.downloadPageByPage();
        else if (method == 2)
            form.downloadFast();
        else
            form.downloadFromJsonList();
        const auto busy = [&form] { return form.downloader().running() || form.downloader().unfinishedWorkers() > 0; };
        const auto giveUp = start + std::chrono::minutes(10);
        while (busy() && Clock::now() < giveUp)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        QApplication::processEvents();
        result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        ticker.stop();
        result.ended = !busy();
        result.longestPauseMs = static_cast<double>(std::max(longest, sinceTick.elapsed()));
        const QString log = form.logView->toPlainText();
        // Method 2 ends with its workers, each one a step of the gauge (its
        // closing lines are long gone from a log of 1,000 lines).
        result.ended = result.ended && (method == 2 ? form.gauge.progress() == form.gauge.maxValue()
                                                    : log.endsWith(QStringLiteral("Все !!!")));
    }
    result.files = static_cast<int>(std::count_if(fs::recursive_directory_iterator(program),
                                                  fs::recursive_directory_iterator(),
                                                  [](const auto& e) { return e.is_regular_file(); }));
    fs::remove_all(program);
    return result;
}

/// Prints @p r and whether the library holds the @p expected files.
bool report(const char* what, const RunResult& r, int expected)
{
    const bool whole = r.ended && r.files == expected;
    std::printf("%-34s %7.2f s, %4d of %4d files, window thread paused at most %4.0f ms (target <= %.0f)  %s\n",
                what, r.seconds, r.files, expected, r.longestPauseMs, kPauseTargetMs,
                !whole ? "FAILED" : r.longestPauseMs <= kPauseTargetMs ? "ok" : "OVER");
    return whole;
}

/// @p first, then "Ж" up to @p bytes in all.
std::string longText(const std::string& first, std::size_t bytes)
{
    std::string text = first;
    while (text.size() + 2 <= bytes)
        text += "Ж";
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);

    // Each game: two screenshots, the tape image and seven parts, then its
    // mark.txt and description: twelve files.
    constexpr int kGames = 100, kFilesPerGame = 12;
    std::vector<CatalogueServer::Game> games;
    for (int i = 0; i < kGames; ++i) {
        const std::string name = "Game" + std::to_string(i);
        CatalogueServer::Game g{name, "Title " + std::to_string(i), "5", "About", {"screen1.png", "screen2.png"}, true};
        g.files.push_back(name + ".lvt");
        for (int k = 0; k <= 6; ++k)
            g.files.push_back(name + ".lv" + std::to_string(k));
        games.push_back(g);
    }
    bool whole = true;
    double seconds[4] = {};
    {
        CatalogueServer server(games, {{"delay_ms", 20}});
        for (int method = 1; method <= 3; ++method) {
            const RunResult r = runMethod(server, method, std::to_string(method));
            const std::string what = "method " + std::to_string(method) + ", 100 games:";
            whole = report(what.c_str(), r, kGames * kFilesPerGame) && whole;
            seconds[method] = r.seconds;
        }
    }
    if (whole)
        std::printf("method 2 is %.1f times as fast as method 1 (target >= 5, %zu workers at once): %s\n",
                    seconds[1] / seconds[2], ostrovik::games::kMaxRunningWorkers,
                    seconds[1] >= 5 * seconds[2] ? "ok" : "SLOW");

    // Hostile texts: one game, whole, whose title fills the page or the list.
    constexpr int kHostileFiles = 5;
    CatalogueServer::Game big{"Big", longText("a", 3'000'000), "5", "About", {"screen1.png", "screen2.png", "Big.lvt"}, true};
    {
        CatalogueServer server({big});
        whole = report("method 1, a 3 MB title:", runMethod(server, 1, "title"), kHostileFiles) && whole;
    }
    {
        const nlohmann::json list = nlohmann::json::array(
            {{{"Name", "Big"}, {"FullName", longText("a", 6'000'000)}, {"Description", "About"}, {"Mark", "5"}}});
        CatalogueServer server({big}, {{"json", list.dump()}});
        whole = report("method 3, a 6 MB FullName:", runMethod(server, 3, "fullname"), kHostileFiles) && whole;
    }
    if (!whole) {
        std::printf("FAILED: a run did not end with every file in the library\n");
        return 1;
    }
    return 0;
}
