#include "games/CatalogueDownloader.hpp"

#include <filesystem>

#include "games/DownloadGame.hpp"
#include "games/GameLibrary.hpp"
#include "games/GameName.hpp"
#include "games/JsonList.hpp"

namespace ostrovik::games {

namespace {

constexpr const char* kSiteNotOpened = "Не могу открыть сайт !!!";
constexpr const char* kLinkNotOpened = "Не могу открыть ссылку !!!";
constexpr const char* kNoCount = "Не могу прочитать количество игр на сайте, возможно нет связи с сервером !!!";
constexpr int kPageSize = 50;

/// Blocks the start buttons for as long as a method holds the window.
class ButtonsBlocked {
public:
    explicit ButtonsBlocked(DownloaderView& view) : view_(view) { view_.setStartButtonsEnabled(false); }
    ~ButtonsBlocked() { view_.setStartButtonsEnabled(true); }
    ButtonsBlocked(const ButtonsBlocked&) = delete;
    ButtonsBlocked& operator=(const ButtonsBlocked&) = delete;

private:
    DownloaderView& view_;
};

} // namespace

CatalogueDownloader::CatalogueDownloader(DownloaderView& view, HttpClient& http, std::string libraryFolder,
                                         GuiGate::Post post, std::size_t maxRunningWorkers)
    : view_(view), http_(http), libraryFolder_(std::move(libraryFolder)), gate_(std::move(post)),
      workers_(maxRunningWorkers)
{
}

CatalogueDownloader::~CatalogueDownloader()
{
    stopWorkers();
}

void CatalogueDownloader::stopWorkers()
{
    gate_.close();
    workers_.stop();
}

std::string CatalogueDownloader::baseAddress()
{
    std::string text = view_.webText();
    if (text.empty() || text.back() != '/') {
        text += '/';
        view_.setWebText(text);
    }
    return text;
}

std::optional<std::uint16_t> CatalogueDownloader::catalogueStart(const char* emptyPageLine)
{
    view_.clearLog();
    PageStart = 0;
    const std::string base = baseAddress();
    log("Пробуем открыть сайт:" + base);
    PageLines = PageToLines(http_.HttpGetText(base + "index.php"));
    if (PageLines.empty()) {
        log(emptyPageLine);
        return std::nullopt;
    }
    const GameCount count = ReadGameCount(PageLines);
    if (!count.error.empty()) {
        view_.showError(count.error);
        return std::nullopt;
    }
    if (count.count == 0) {
        log(kNoCount);
        return std::nullopt;
    }
    log(GameCountLine(count.count));
    return count.count;
}

bool CatalogueDownloader::acceptGame(const std::string& name, const std::string& title)
{
    std::error_code ec;
    if (view_.skipExisting() && std::filesystem::is_directory(libraryFolder_ + name, ec)) {
        log("Игра " + title + " уже сеть !!!");
        return false;
    }
    if (!IsSafeGameName(name)) {
        log(RefusedNameLine(name));
        return false;
    }
    return true;
}

bool CatalogueDownloader::listPages(std::uint16_t count, const Accept& accept, const std::function<void()>& afterTable)
{
    while (PageStart < count) {
        const std::string base = view_.webText();
        PageLines = PageToLines(http_.HttpGetText(base + "index.php?start=" + std::to_string(PageStart)));
        PageStart = static_cast<std::uint16_t>(PageStart + kPageSize);
        if (PageLines.empty()) {
            log(kSiteNotOpened);
            return false;
        }
        log("Начинаем парсить игры :-) !!!");
        const std::optional<std::size_t> head = FindTableHead(PageLines);
        if (!head)
            continue;
        for (const GameRow& row : ReadRows(PageLines, *head)) {
            log("Нашли игру " + row.title);
            if (acceptGame(row.name, row.title) && !accept(row))
                return false;
        }
        if (afterTable)
            afterTable();
    }
    return true;
}

void CatalogueDownloader::Button1Click()
{
    ButtonsBlocked blocked(view_);
    const std::optional<std::uint16_t> siteCount = catalogueStart(kSiteNotOpened);
    if (!siteCount)
        return;
    const std::uint16_t count = WholePages(*siteCount);
    view_.setGaugeProgress(0);
    view_.setGaugeMaximum(count);
    view_.setGaugeMinimum(0);
    std::uint16_t downloaded = 0;
    const auto accept = [&](const GameRow& row) {
        ++downloaded;
        view_.setGaugeProgress(downloaded);
        view_.processMessages();
        const GameDownload done =
            DownloadGame(http_, [this] { return view_.webText(); }, libraryFolder_, row.name, row.title, row.mark,
                         [this](const std::string& line) { log(line); }, ScreenshotLines::AfterBoth, GamePageLines);
        if (!done.written)
            view_.showError(done.error);
        return done.written;
    };
    const auto afterTable = [&] { log("Скачали: " + std::to_string(downloaded) + " игр"); };
    if (!listPages(count, accept, afterTable))
        return;
    view_.setGaugeProgress(count);
    log("Все !!!");
}

void CatalogueDownloader::Button2Click()
{
    const std::optional<std::uint16_t> siteCount = catalogueStart(kSiteNotOpened);
    if (!siteCount)
        return;
    view_.setGaugeMaximum(*siteCount);
    const std::uint16_t count = WholePages(*siteCount);
    view_.setGaugeProgress(0);
    view_.setGaugeMinimum(0);
    std::uint16_t workers = 0;
    const TMyThread::Context context{http_, gate_, view_};
    const auto accept = [&](const GameRow& row) {
        ++workers;
        auto worker = std::make_unique<TMyThread>(true, row.name, row.title, libraryFolder_, row.mark, context);
        workers_.start(std::move(worker));
        view_.processMessages();
        return true;
    };
    if (!listPages(count, accept, {}))
        return;
    log("Создано " + std::to_string(workers) + " потоков скачивания");
    log("ЖДЕМ ..........");
}

void CatalogueDownloader::Button3Click()
{
    ButtonsBlocked blocked(view_);
    const std::optional<std::uint16_t> siteCount = catalogueStart(kLinkNotOpened);
    if (!siteCount)
        return;
    const std::string base = view_.webText();
    const std::string jsonAddress = view_.jsonText();
    log("Начинаем парсить JSON по ссылке: " + jsonAddress);
    const HttpAnswer answer = http_.requestText(jsonAddress);
    if (!answer.ok) {
        view_.showError(answer.error);
        return;
    }
    const std::optional<std::vector<TGameListEntry>> list =
        ParseGameList(DecodeByCharset(answer.body, answer.contentType));
    view_.setGaugeProgress(0);
    view_.setGaugeMaximum(*siteCount);
    view_.setGaugeMinimum(0);
    if (!list)
        return;
    std::uint16_t downloaded = 0;
    for (const TGameListEntry& game : *list) {
        std::error_code ec;
        if (view_.skipExisting() && std::filesystem::is_directory(libraryFolder_ + game.Name, ec)) {
            log("Игра " + game.FullName + " уже сеть !!!");
            continue;
        }
        if (!IsSafeGameName(game.Name)) {
            log(RefusedNameLine(game.Name));
            continue;
        }
        ++downloaded;
        view_.setGaugeProgress(downloaded);
        view_.processMessages();
        const std::string gameDir = libraryFolder_ + game.Name;
        FetchGameFiles(http_, [&base] { return base; }, gameDir, game.Name, [this](const std::string& line) { log(line); },
                       ScreenshotLines::AfterBoth);
        const std::string textFile = gameDir + "/" + game.Name + ".txt";
        if (!WriteTextLines(textFile, {game.FullName, game.Description})) {
            view_.showError(FileNotWritten(textFile));
            return;
        }
        log("Описание:" + textFile);
        const std::string markFile = gameDir + "/mark.txt";
        if (!WriteTextLines(markFile, {game.Mark})) {
            view_.showError(FileNotWritten(markFile));
            return;
        }
        log("Оценка:" + markFile);
    }
    log("Все !!!");
}

} // namespace ostrovik::games
