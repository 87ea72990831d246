#include "games/DownloadGame.hpp"

#include <atomic>
#include <filesystem>

#include <unistd.h>

#include "games/GameLibrary.hpp"
#include "games/GameName.hpp"
#include "games/LogText.hpp"

namespace ostrovik::games {

namespace fs = std::filesystem;

namespace {

/// The library's parent folder: the game in the making stays on the same
/// disk as the library, so that it moves into it by a rename.
fs::path besideLibrary(const std::string& libraryFolder)
{
    fs::path library(libraryFolder);
    if (!library.has_filename())
        library = library.parent_path();
    return library.parent_path();
}

} // namespace

GameUnderway::GameUnderway(const std::string& libraryFolder, const std::string& name)
    : finalDir_(libraryFolder + name)
{
    std::error_code ec;
    fs::create_directories(libraryFolder, ec);
    // A short name whatever the game's name, made with the mode any new
    // folder gets, which the game's folder keeps.
    static std::atomic<unsigned> serial{0};
    const fs::path beside = besideLibrary(libraryFolder);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path dir = beside / (".download-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
        if (fs::create_directory(dir, ec)) {
            dir_ = dir.string();
            return;
        }
        if (ec)
            return;
    }
}

GameUnderway::~GameUnderway()
{
    if (!dir_.empty()) {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
}

bool GameUnderway::place()
{
    std::error_code ec;
    if (!fs::exists(finalDir_, ec)) {
        fs::rename(dir_, finalDir_, ec);
        if (!ec) {
            dir_.clear();
            return true;
        }
    }
    // An older copy of the game (or a library on another disk): file by file.
    fs::create_directories(finalDir_, ec);
    if (!fs::is_directory(finalDir_, ec))
        return false;
    bool placed = true;
    for (fs::directory_iterator it(dir_, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path target = fs::path(finalDir_) / it->path().filename();
        std::error_code moved;
        fs::rename(it->path(), target, moved);
        if (moved)
            placed = fs::copy_file(it->path(), target, fs::copy_options::overwrite_existing, moved) && placed;
    }
    return placed && !ec;
}

bool fetchGameFiles(HttpClient& http, const BaseAddress& base, const std::string& gameDir, const std::string& name,
                    const LogSink& log, ScreenshotLines screenshots)
{
    const std::string escaped = escapeForAddress(name);
    // The address requested, and the same address as the log shows it.
    const auto fetch = [&](const std::string& path, const std::string& file) {
        return http.fetchFile(base() + escaped + path, gameDir + "/" + file);
    };
    const auto shown = [&](const std::string& path, FileFetch result) {
        return base() + name + path + (result == FileFetch::Arrived ? " скачан" : " не скачан");
    };

    // A file that failed on its way ends the game there: the site has
    // stopped answering, or the program is ending.
    const FileFetch screen1 = fetch("/screen1.png", "screen1.png");
    if (screenshots == ScreenshotLines::EachAfterItsOwn || screen1 == FileFetch::Failed)
        log(shown("/screen1.png", screen1));
    if (screen1 == FileFetch::Failed)
        return false;
    const FileFetch screen2 = fetch("/screen2.png", "screen2.png");
    if (screenshots == ScreenshotLines::AfterBoth)
        log(shown("/screen1.png", screen1));
    log(shown("/screen2.png", screen2));
    if (screen2 == FileFetch::Failed)
        return false;

    FileFetch program = fetch("/" + escaped + ".lvt", name + ".lvt");
    if (program == FileFetch::Absent) {
        program = fetch("/" + escaped + ".sav", name + ".sav");
        log(shown("/" + name + ".sav", program));
    } else {
        log(shown("/" + name + ".lvt", program));
    }
    if (program != FileFetch::Arrived)
        return false;
    for (char k = '0'; k <= '6'; ++k) {
        const std::string part = ".lv" + std::string(1, k);
        const FileFetch result = fetch("/" + escaped + part, name + part);
        if (result == FileFetch::Arrived)
            log(base() + name + "/" + name + part + " докачан");
        if (result == FileFetch::Failed) {
            log(shown("/" + name + part, result));
            return false;
        }
    }
    return true;
}

std::string gameNotFetchedLine(const std::string& title)
{
    return "Игра " + quoteInLog(title) + " не скачана !!!";
}

std::string fileNotWritten(const std::string& path)
{
    return "Cannot create file \"" + path + "\"";
}

GameDownload downloadGame(HttpClient& http, const BaseAddress& base, const std::string& libraryFolder,
                          const std::string& name, const std::string& title, const std::string& mark,
                          const LogSink& log, ScreenshotLines screenshots, Lines& gamePage)
{
    GameUnderway game(libraryFolder, name);
    if (!game.made())
        return {false, fileNotWritten(game.finalDir())};
    if (!fetchGameFiles(http, base, game.dir(), name, log, screenshots)) {
        log(gameNotFetchedLine(title));
        return {};
    }

    // The lines of the text files wait until the game stands in the library.
    std::vector<std::string> written;
    const std::string markFile = game.finalDir() + "/mark.txt";
    if (!writeTextLines(game.dir() + "/mark.txt", {mark}))
        return {false, fileNotWritten(markFile)};
    written.push_back("Рейтинг:" + markFile + "    " + quoteInLog(mark));

    // A page that does not come at all means the site stopped answering; one
    // without the description line is a game without a description.
    const std::string page = http.httpGetText(base() + "page.php?name=" + escapeForAddress(name));
    gamePage = pageToLines(page);
    if (page.empty()) {
        log(base() + "page.php?name=" + name + " не скачан");
        log(gameNotFetchedLine(title));
        return {};
    }
    if (const std::optional<std::string> description = findDescription(gamePage, name)) {
        const std::string textFile = game.finalDir() + "/" + name + ".txt";
        if (!writeTextLines(game.dir() + "/" + name + ".txt", {title, *description}))
            return {false, fileNotWritten(textFile)};
        written.push_back("Описание:" + textFile);
    }
    if (!game.place())
        return {false, fileNotWritten(game.finalDir())};
    for (const std::string& line : written)
        log(line);
    return {true, {}};
}

GameDownload downloadListedGame(HttpClient& http, const std::string& base, const std::string& libraryFolder,
                                const GameListEntry& entry, const LogSink& log)
{
    GameUnderway game(libraryFolder, entry.name);
    if (!game.made())
        return {false, fileNotWritten(game.finalDir())};
    if (!fetchGameFiles(http, [&base] { return base; }, game.dir(), entry.name, log, ScreenshotLines::AfterBoth)) {
        log(gameNotFetchedLine(entry.fullName));
        return {};
    }
    const std::string textFile = game.finalDir() + "/" + entry.name + ".txt";
    if (!writeTextLines(game.dir() + "/" + entry.name + ".txt", {entry.fullName, entry.description}))
        return {false, fileNotWritten(textFile)};
    const std::string markFile = game.finalDir() + "/mark.txt";
    if (!writeTextLines(game.dir() + "/mark.txt", {entry.mark}))
        return {false, fileNotWritten(markFile)};
    if (!game.place())
        return {false, fileNotWritten(game.finalDir())};
    log("Описание:" + textFile);
    log("Оценка:" + markFile);
    return {true, {}};
}

} // namespace ostrovik::games
