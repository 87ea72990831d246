#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "games/CataloguePage.hpp"
#include "games/DownloaderView.hpp"
#include "games/GuiGate.hpp"
#include "games/Http.hpp"
#include "games/TMyThread.hpp"

namespace ostrovik::games {

/// The downloader's three methods and the state they share, on the window's
/// thread: method 1 reads the catalogue and downloads game after game,
/// method 2 hands each game to a worker, method 3 works from the JSON list.
class CatalogueDownloader {
public:
    /// @p libraryFolder ends with "/"; @p post hands calls to the window's
    /// thread (for the workers).
    CatalogueDownloader(DownloaderView& view, HttpClient& http, std::string libraryFolder, GuiGate::Post post,
                        std::size_t maxRunningWorkers = kMaxRunningWorkers);
    ~CatalogueDownloader();

    void Button1Click();
    void Button2Click();
    void Button3Click();

    /// The program is ending: workers let go of the window and end.
    void stopWorkers();
    /// Workers of method 2 started and not yet ended.
    std::size_t unfinishedWorkers() const { return workers_.unfinished(); }

    Lines PageLines;
    Lines GamePageLines;
    std::uint16_t PageStart = 0;

private:
    /// What a method does with an accepted game; false ends the run.
    using Accept = std::function<bool(const GameRow&)>;

    std::optional<std::uint16_t> catalogueStart(const char* emptyPageLine);
    bool listPages(std::uint16_t count, const Accept& accept, const std::function<void()>& afterTable);
    /// Whether the row's game is to be fetched, logging why not.
    bool acceptGame(const std::string& name, const std::string& title);
    std::string baseAddress();
    void log(const std::string& line) { view_.addLogLine(line); }

    DownloaderView& view_;
    HttpClient& http_;
    std::string libraryFolder_;
    GuiGate gate_;
    DownloadWorkers workers_;
};

} // namespace ostrovik::games
