#include "games/CatalogueDownloader.hpp"

#include <filesystem>
#include <type_traits>

#include "games/DownloadGame.hpp"
#include "games/GameLibrary.hpp"
#include "games/GameName.hpp"
#include "games/JsonList.hpp"
#include "games/LogText.hpp"

namespace ostrovik::games {

namespace {

constexpr const char* kSiteNotOpened = "Не могу открыть сайт !!!";
constexpr const char* kLinkNotOpened = "Не могу открыть ссылку !!!";
constexpr const char* kNoCount = "Не могу прочитать количество игр на сайте, возможно нет связи с сервером !!!";
constexpr int kPageSize = 50;

/// The window is going: the run is abandoned where it stands.
struct RunStopped {};

/// The window as a method's run sees it from its own thread: every call is
/// handed to the window's thread and waited for, so the run's lines reach
/// the log in their order. Once the gate is closed the run is abandoned.
class GatedView final : public DownloaderView {
public:
    GatedView(GuiGate& gate, DownloaderView& window) : gate_(gate), window_(window) {}

    std::string webText() const override
    {
        return ask([this] { return window_.webText(); });
    }
    void setWebText(const std::string& text) override
    {
        ask([&] { window_.setWebText(text); });
    }
    std::string jsonText() const override
    {
        return ask([this] { return window_.jsonText(); });
    }
    bool skipExisting() const override
    {
        return ask([this] { return window_.skipExisting(); });
    }
    void clearLog() override
    {
        ask([this] { window_.clearLog(); });
    }
    void addLogLine(const std::string& line) override
    {
        ask([&] { window_.addLogLine(line); });
    }
    int gaugeProgress() const override
    {
        return ask([this] { return window_.gaugeProgress(); });
    }
    void setGaugeProgress(int value) override
    {
        ask([&] { window_.setGaugeProgress(value); });
    }
    void setGaugeMinimum(int value) override
    {
        ask([&] { window_.setGaugeMinimum(value); });
    }
    void setGaugeMaximum(int value) override
    {
        ask([&] { window_.setGaugeMaximum(value); });
    }
    void showError(const std::string& text) override
    {
        ask([&] { window_.showError(text); });
    }
    void setStartButtonsEnabled(bool enabled) override
    {
        ask([&] { window_.setStartButtonsEnabled(enabled); });
    }

private:
    /// Runs @p call on the window's thread and hands back its result.
    template <typename F>
    std::invoke_result_t<F> ask(F call) const
    {
        using Result = std::invoke_result_t<F>;
        if constexpr (std::is_void_v<Result>) {
            if (!gate_.callOnGuiThread(call))
                throw RunStopped{};
        } else {
            Result result{};
            if (!gate_.callOnGuiThread([&] { result = call(); }))
                throw RunStopped{};
            return result;
        }
    }

    GuiGate& gate_;
    DownloaderView& window_;
};

/// The base address: the field's text, made to end with "/" in the field.
std::string baseAddress(DownloaderView& view)
{
    std::string text = view.webText();
    if (text.empty() || text.back() != '/') {
        text += '/';
        view.setWebText(text);
    }
    return text;
}

/// The closing line of games that did not arrive, when there were any.
void logNotFetched(DownloaderView& view, int games)
{
    if (games > 0)
        view.addLogLine("Не скачали: " + std::to_string(games) + " игр");
}

} // namespace

CatalogueDownloader::CatalogueDownloader(DownloaderView& view, HttpClient& http, std::string libraryFolder,
                                         GuiGate::Post post, std::size_t maxRunningWorkers)
    : view_(view), http_(http), libraryFolder_(std::move(libraryFolder)), gate_(std::move(post)),
      workers_(maxRunningWorkers)
{
}

CatalogueDownloader::~CatalogueDownloader()
{
    stop();
}

void CatalogueDownloader::stop()
{
    gate_.close();
    if (run_.joinable())
        run_.join();
    workers_.stop();
    running_ = false;
}

void CatalogueDownloader::downloadPageByPage()
{
    start(&CatalogueDownloader::method1);
}

void CatalogueDownloader::downloadFast()
{
    start(&CatalogueDownloader::method2);
}

void CatalogueDownloader::downloadFromJsonList()
{
    start(&CatalogueDownloader::method3);
}

void CatalogueDownloader::start(Method method)
{
    if (running_ || gate_.closed())
        return;
    // The last run has posted its end; its thread is on its way out.
    if (run_.joinable())
        run_.join();
    running_ = true;
    view_.setStartButtonsEnabled(false);
    run_ = std::thread([this, method] {
        GatedView view(gate_, view_);
        try {
            (this->*method)(view);
        } catch (const RunStopped&) {
            return;
        } catch (const std::exception& e) {
            gate_.post([this, text = std::string(e.what())] { view_.showError(text); });
        }
        gate_.post([this] {
            running_ = false;
            view_.setStartButtonsEnabled(true);
        });
    });
}

std::optional<std::uint16_t> CatalogueDownloader::catalogueStart(DownloaderView& view, const char* emptyPageLine)
{
    view.clearLog();
    pageStart = 0;
    const std::string base = baseAddress(view);
    view.addLogLine("Пробуем открыть сайт:" + base);
    pageLines = pageToLines(http_.httpGetText(base + "index.php"));
    if (pageLines.empty()) {
        view.addLogLine(emptyPageLine);
        return std::nullopt;
    }
    const GameCount count = readGameCount(pageLines);
    if (!count.error.empty()) {
        view.showError(count.error);
        return std::nullopt;
    }
    if (count.count == 0) {
        view.addLogLine(kNoCount);
        return std::nullopt;
    }
    view.addLogLine(gameCountLine(count.count));
    return count.count;
}

bool CatalogueDownloader::acceptGame(DownloaderView& view, const std::string& name, const std::string& title)
{
    // The name first: ".." names a folder that exists, outside the library.
    if (!isSafeGameName(name)) {
        view.addLogLine(refusedNameLine(name));
        return false;
    }
    std::error_code ec;
    if (view.skipExisting() && std::filesystem::is_directory(libraryFolder_ + name, ec)) {
        view.addLogLine("Игра " + quoteInLog(title) + " уже сеть !!!");
        return false;
    }
    return true;
}

bool CatalogueDownloader::listPages(DownloaderView& view, std::uint16_t count, const Accept& accept,
                                    const std::function<void()>& afterTable)
{
    while (pageStart < count) {
        const std::string base = view.webText();
        pageLines = pageToLines(http_.httpGetText(base + "index.php?start=" + std::to_string(pageStart)));
        pageStart = static_cast<std::uint16_t>(pageStart + kPageSize);
        if (pageLines.empty()) {
            view.addLogLine(kSiteNotOpened);
            return false;
        }
        view.addLogLine("Начинаем парсить игры :-) !!!");
        const std::optional<std::size_t> head = findTableHead(pageLines);
        if (!head)
            continue;
        for (const GameRow& row : readRows(pageLines, *head)) {
            view.addLogLine("Нашли игру " + quoteInLog(row.title));
            if (acceptGame(view, row.name, row.title) && !accept(row))
                return false;
        }
        if (afterTable)
            afterTable();
    }
    return true;
}

void CatalogueDownloader::method1(DownloaderView& view)
{
    const std::optional<std::uint16_t> siteCount = catalogueStart(view, kSiteNotOpened);
    if (!siteCount)
        return;
    const std::uint16_t count = wholePages(*siteCount);
    view.setGaugeProgress(0);
    view.setGaugeMaximum(count);
    view.setGaugeMinimum(0);
    std::uint16_t accepted = 0;
    int arrived = 0, failed = 0;
    const LogSink log = [&view](const std::string& line) { view.addLogLine(line); };
    const auto accept = [&](const GameRow& row) {
        ++accepted;
        view.setGaugeProgress(accepted);
        const GameDownload done = downloadGame(http_, [&view] { return view.webText(); }, libraryFolder_, row.name,
                                               row.title, row.mark, log, ScreenshotLines::AfterBoth, gamePageLines);
        if (!done.error.empty()) {
            view.showError(done.error);
            return false;
        }
        ++(done.whole ? arrived : failed);
        return true;
    };
    const auto afterTable = [&] { view.addLogLine("Скачали: " + std::to_string(arrived) + " игр"); };
    if (!listPages(view, count, accept, afterTable))
        return;
    view.setGaugeProgress(count);
    logNotFetched(view, failed);
    view.addLogLine("Все !!!");
}

void CatalogueDownloader::method2(DownloaderView& view)
{
    const std::optional<std::uint16_t> siteCount = catalogueStart(view, kSiteNotOpened);
    if (!siteCount)
        return;
    view.setGaugeMaximum(*siteCount);
    const std::uint16_t count = wholePages(*siteCount);
    view.setGaugeProgress(0);
    view.setGaugeMinimum(0);
    std::uint16_t workers = 0;
    const DownloadWorker::Context context{http_, gate_, view_};
    const auto accept = [&](const GameRow& row) {
        ++workers;
        workers_.start(std::make_unique<DownloadWorker>(true, row.name, row.title, libraryFolder_, row.mark, context));
        return true;
    };
    if (!listPages(view, count, accept, {}))
        return;
    view.addLogLine("Создано " + std::to_string(workers) + " потоков скачивания");
    view.addLogLine("ЖДЕМ ..........");
}

void CatalogueDownloader::method3(DownloaderView& view)
{
    const std::optional<std::uint16_t> siteCount = catalogueStart(view, kLinkNotOpened);
    if (!siteCount)
        return;
    const std::string base = view.webText();
    const std::string jsonAddress = view.jsonText();
    view.addLogLine("Начинаем парсить JSON по ссылке: " + jsonAddress);
    const HttpAnswer answer = http_.requestText(jsonAddress);
    if (!answer.ok) {
        view.showError(answer.error);
        return;
    }
    std::string refusal;
    const std::optional<std::vector<GameListEntry>> list =
        parseGameList(decodeByCharset(answer.body, answer.contentType), &refusal);
    view.setGaugeProgress(0);
    view.setGaugeMaximum(*siteCount);
    view.setGaugeMinimum(0);
    if (!list) {
        if (!refusal.empty())
            view.addLogLine(refusal);
        return;
    }
    std::uint16_t accepted = 0;
    int failed = 0;
    const LogSink log = [&view](const std::string& line) { view.addLogLine(line); };
    for (const GameListEntry& game : *list) {
        if (!acceptGame(view, game.name, game.fullName))
            continue;
        ++accepted;
        view.setGaugeProgress(accepted);
        const GameDownload done = downloadListedGame(http_, base, libraryFolder_, game, log);
        if (!done.error.empty()) {
            view.showError(done.error);
            return;
        }
        if (!done.whole)
            ++failed;
    }
    logNotFetched(view, failed);
    view.addLogLine("Все !!!");
}

} // namespace ostrovik::games
