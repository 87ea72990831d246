#pragma once

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "games/CatalogueDownloader.hpp"
#include "games/GameLibrary.hpp"
#include "platform/CallQueue.hpp"
#include "support/TempFolder.hpp"

/// The downloader window as the three methods see it, recorded; its
/// thread's messages are the calls of a queue the test's thread drains.
class RecordingView final : public ostrovik::games::DownloaderView {
public:
    std::string webText() const override { return web; }
    void setWebText(const std::string& text) override { web = text; }
    std::string jsonText() const override { return json; }
    bool skipExisting() const override { return skip; }
    void clearLog() override { log.clear(); }
    void addLogLine(const std::string& line) override { log.push_back(line); }
    int gaugeProgress() const override { return progress; }
    void setGaugeProgress(int value) override { progress = std::clamp(value, minimum, std::max(minimum, maximum)); }
    void setGaugeMinimum(int value) override { minimum = value; }
    void setGaugeMaximum(int value) override
    {
        maximum = value;
        setGaugeProgress(progress);
    }
    void showError(const std::string& text) override { errors.push_back(text); }
    void setStartButtonsEnabled(bool enabled) override { buttons.push_back(enabled); }

    std::string web, json;
    bool skip = true;
    std::vector<std::string> log, errors;
    std::vector<bool> buttons;
    int progress = 0, minimum = 0, maximum = 100;
    ostrovik::platform::CallQueue queue;
};

/// Every fetch the methods make, in order, passed on to the real layer.
class CountingHttp final : public ostrovik::games::HttpClient {
public:
    explicit CountingHttp(ostrovik::games::HttpClient& real) : real_(real) {}
    std::string httpGetText(const std::string& address) override
    {
        note(address);
        return real_.httpGetText(address);
    }
    bool downloadFile(const std::string& address, const std::string& fileName) override
    {
        note(address);
        return real_.downloadFile(address, fileName);
    }
    ostrovik::games::FileFetch fetchFile(const std::string& address, const std::string& fileName) override
    {
        note(address);
        return real_.fetchFile(address, fileName);
    }
    ostrovik::games::HttpAnswer requestText(const std::string& address) override
    {
        note(address);
        return real_.requestText(address);
    }
    std::vector<std::string> addresses() const
    {
        std::lock_guard lock(mutex_);
        return addresses_;
    }

private:
    void note(const std::string& a)
    {
        std::lock_guard lock(mutex_);
        addresses_.push_back(a);
    }
    ostrovik::games::HttpClient& real_;
    mutable std::mutex mutex_;
    std::vector<std::string> addresses_;
};

/// A program folder of its own, with the library root inside.
class LibraryFolder {
public:
    explicit LibraryFolder(const std::string& name) : folder_("downloads-" + name)
    {
        std::filesystem::create_directories(root());
    }
    std::string root() const { return ostrovik::games::libraryRoot(dir().string()); }
    std::filesystem::path dir() const { return folder_.path(); }
    std::string read(const std::string& inRoot) const
    {
        std::ifstream in(root() + inRoot, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool has(const std::string& inRoot) const { return std::filesystem::exists(root() + inRoot); }
    /// Every file or folder under the program folder whose name holds @p part.
    std::vector<std::string> filesNamed(const std::string& part) const
    {
        std::vector<std::string> found;
        for (const auto& e : std::filesystem::recursive_directory_iterator(dir()))
            if (e.path().filename().string().find(part) != std::string::npos)
                found.push_back(e.path().string());
        return found;
    }
    /// The names in the library root.
    std::vector<std::string> games() const
    {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(root()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    ostrovik::test::TempFolder folder_;
};

/// Plays the window's thread (drains @p view's queue) until the method's run
/// and its workers have ended; @p limit only guards against a hang.
inline bool finish(ostrovik::games::CatalogueDownloader& d, RecordingView& view,
                   std::chrono::seconds limit = std::chrono::seconds(120))
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while ((d.running() || d.unfinishedWorkers() > 0) && std::chrono::steady_clock::now() < end)
        view.queue.waitAndDrain(std::chrono::milliseconds(10));
    view.queue.drain();
    return !d.running() && d.unfinishedWorkers() == 0;
}
