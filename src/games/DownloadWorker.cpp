#include "games/DownloadWorker.hpp"

#include <sys/resource.h>
#include <unistd.h>

#include "games/DownloadGame.hpp"

namespace ostrovik::games {

DownloadWorker::DownloadWorker(bool createSuspended, std::string name, std::string title, std::string dir, std::string mark,
                     Context context)
    : gameName(std::move(name)), gamesDir(std::move(dir)), gameTitle(std::move(title)), gameMark(std::move(mark)),
      suspended_(createSuspended), context_(context)
{
}

void DownloadWorker::showLog()
{
    context_.view.addLogLine(logText);
}

void DownloadWorker::run()
{
    suspended_ = false;
    GuiGate& gate = context_.gate;
    const LogSink log = [&](const std::string& line) {
        logText = line;
        gate.callOnGuiThread([this] { showLog(); });
    };
    const BaseAddress base = [&] {
        std::string text;
        gate.callOnGuiThread([&] { text = context_.view.webText(); });
        return text;
    };
    Lines gamePage;
    const GameDownload done =
        downloadGame(context_.http, base, gamesDir, gameName, gameTitle, gameMark, log, ScreenshotLines::EachAfterItsOwn,
                     gamePage);
    // A game that did not arrive has said so; a worker whose text files
    // cannot be written ends quietly.
    if (!done.whole)
        return;
    DownloaderView& view = context_.view;
    gate.callOnGuiThread([&view] { view.setGaugeProgress(view.gaugeProgress() + 1); });
}

DownloadWorkers::DownloadWorkers(std::size_t maxRunning) : maxRunning_(maxRunning ? maxRunning : 1) {}

DownloadWorkers::~DownloadWorkers()
{
    stop();
}

void DownloadWorkers::start(std::unique_ptr<DownloadWorker> worker)
{
    std::lock_guard lock(mutex_);
    if (stopping_)
        return;
    waiting_.push_back(std::move(worker));
    if (idle_ > 0)
        wake_.notify_one();
    else if (threads_.size() < maxRunning_)
        threads_.emplace_back([this] { run(); });
}

std::size_t DownloadWorkers::unfinished() const
{
    std::lock_guard lock(mutex_);
    return waiting_.size() + busy_;
}

void DownloadWorkers::stop()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        waiting_.clear();
        wake_.notify_all();
    }
    for (std::thread& t : threads_)
        if (t.joinable())
            t.join();
    threads_.clear();
}

void DownloadWorkers::run()
{
    // Below the window's thread, as the catalogue's workers always ran.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 5);
    std::unique_lock lock(mutex_);
    for (;;) {
        ++idle_;
        wake_.wait(lock, [&] { return stopping_ || !waiting_.empty(); });
        --idle_;
        if (stopping_)
            return;
        std::unique_ptr<DownloadWorker> worker = std::move(waiting_.front());
        waiting_.pop_front();
        ++busy_;
        lock.unlock();
        worker->run();
        worker.reset();
        lock.lock();
        --busy_;
    }
}

} // namespace ostrovik::games
