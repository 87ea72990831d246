#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "games/CataloguePage.hpp"
#include "games/DownloaderView.hpp"
#include "games/GuiGate.hpp"
#include "games/Http.hpp"
#include "games/DownloadWorker.hpp"

namespace ostrovik::games {

/// The downloader's three methods and the state they share. Method 1 reads
/// the catalogue and downloads game after game, method 2 hands each game to
/// a worker, method 3 works from the JSON list. Each method runs on a thread
/// of its own and reaches the window through the gate, so the window keeps
/// handling its events while a site is slow.
class CatalogueDownloader {
public:
    /// @p libraryFolder ends with "/"; @p post hands calls to the window's
    /// thread.
    CatalogueDownloader(DownloaderView& view, HttpClient& http, std::string libraryFolder, GuiGate::Post post,
                        std::size_t maxRunningWorkers = kMaxRunningWorkers);
    ~CatalogueDownloader();
    CatalogueDownloader(const CatalogueDownloader&) = delete;
    CatalogueDownloader& operator=(const CatalogueDownloader&) = delete;

    /// On the window's thread: start a method's run and return at once. The
    /// start buttons stay blocked until the run has ended; a start while a
    /// run goes on does nothing.
    void downloadPageByPage();
    void downloadFast();
    void downloadFromJsonList();

    /// A method's run started and not yet ended (as the window's thread
    /// sees it: every line of the run has reached the window once false).
    bool running() const { return running_; }
    /// Workers of method 2 started and not yet ended.
    std::size_t unfinishedWorkers() const { return workers_.unfinished(); }

    /// The program is ending: the run and the workers let go of the window
    /// and end; on return no thread of ours is left. Their transfers must be
    /// aborted first. A game in the making is removed.
    void stop();

    // Touched by the run's thread; read them once the run has ended.
    Lines pageLines;
    Lines gamePageLines;
    std::uint16_t pageStart = 0;

private:
    using Method = void (CatalogueDownloader::*)(DownloaderView&);
    /// What a method does with an accepted game; false ends the run.
    using Accept = std::function<bool(const GameRow&)>;

    void start(Method method);
    void method1(DownloaderView& view);
    void method2(DownloaderView& view);
    void method3(DownloaderView& view);

    std::optional<std::uint16_t> catalogueStart(DownloaderView& view, const char* emptyPageLine);
    bool listPages(DownloaderView& view, std::uint16_t count, const Accept& accept,
                   const std::function<void()>& afterTable);
    /// Whether the game is to be fetched, logging why not.
    bool acceptGame(DownloaderView& view, const std::string& name, const std::string& title);

    DownloaderView& view_;
    HttpClient& http_;
    std::string libraryFolder_;
    GuiGate gate_;
    DownloadWorkers workers_;
    std::thread run_;
    std::atomic<bool> running_{false};
};

} // namespace ostrovik::games
