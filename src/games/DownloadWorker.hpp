#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "games/DownloaderView.hpp"
#include "games/GuiGate.hpp"
#include "games/Http.hpp"

namespace ostrovik::games {

/// One game's download in the background: downloadGame with every log line
/// and the gauge step handed to the window's thread.
class DownloadWorker {
public:
    /// What every worker of one window shares.
    struct Context {
        HttpClient& http;
        GuiGate& gate;
        DownloaderView& view;
    };

    DownloadWorker(bool createSuspended, std::string name, std::string title, std::string dir, std::string mark,
              Context context);

    /// The thread body; runs once.
    void run();

    std::string gameName;
    std::string gamesDir;
    std::string gameTitle;
    std::string gameMark;
    std::string logText;

private:
    /// On the window's thread: logText as the log's last line.
    void showLog();

    bool suspended_;
    Context context_;
};

/// Runs the workers of method 2, at most a few at once and each at a lower
/// priority; the others wait their turn in start order.
class DownloadWorkers {
public:
    explicit DownloadWorkers(std::size_t maxRunning);
    ~DownloadWorkers();
    DownloadWorkers(const DownloadWorkers&) = delete;
    DownloadWorkers& operator=(const DownloadWorkers&) = delete;

    /// Queues @p worker; it runs as soon as a place is free.
    void start(std::unique_ptr<DownloadWorker> worker);
    /// Workers started and not yet ended.
    std::size_t unfinished() const;
    /// Drops the waiting workers and waits for the running ones to end (their
    /// transfers must be aborted first, their gate closed).
    void stop();

private:
    void run();

    std::size_t maxRunning_;
    mutable std::mutex mutex_;
    std::deque<std::unique_ptr<DownloadWorker>> waiting_;
    std::vector<std::thread> threads_;
    std::size_t idle_ = 0;
    std::size_t busy_ = 0;
    bool stopping_ = false;
    std::condition_variable wake_;
};

/// How many workers download at once: enough to hide the site's latency,
/// few enough to be a polite client of one site.
inline constexpr std::size_t kMaxRunningWorkers = 8;

} // namespace ostrovik::games
