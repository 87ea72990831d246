#include "games/DownloadGame.hpp"

#include <filesystem>

#include "games/GameLibrary.hpp"
#include "games/GameName.hpp"

namespace ostrovik::games {

void FetchGameFiles(HttpClient& http, const BaseAddress& base, const std::string& gameDir, const std::string& name,
                    const LogSink& log, ScreenshotLines screenshots)
{
    std::error_code ec;
    std::filesystem::create_directories(gameDir, ec);
    const std::string escaped = EscapeForAddress(name);
    // The address requested, and the same address as the log shows it.
    const auto fetch = [&](const std::string& path, const std::string& file) {
        return http.DownloadFile(base() + escaped + path, gameDir + "/" + file);
    };
    const auto shown = [&](const std::string& path) { return base() + name + path; };

    fetch("/screen1.png", "screen1.png");
    if (screenshots == ScreenshotLines::EachAfterItsOwn)
        log(shown("/screen1.png скачан"));
    fetch("/screen2.png", "screen2.png");
    if (screenshots == ScreenshotLines::AfterBoth)
        log(shown("/screen1.png скачан"));
    log(shown("/screen2.png скачан"));

    const std::string lvt = "/" + escaped + ".lvt";
    if (http.DownloadFile(base() + escaped + lvt, gameDir + "/" + name + ".lvt")) {
        log(shown("/" + name + ".lvt скачан"));
    } else {
        http.DownloadFile(base() + escaped + "/" + escaped + ".sav", gameDir + "/" + name + ".sav");
        log(shown("/" + name + ".sav скачан"));
    }
    for (char k = '0'; k <= '6'; ++k) {
        const std::string part = ".lv" + std::string(1, k);
        if (http.DownloadFile(base() + escaped + "/" + escaped + part, gameDir + "/" + name + part))
            log(shown("/" + name + part + " докачан"));
    }
}

std::string FileNotWritten(const std::string& path)
{
    return "Cannot create file \"" + path + "\"";
}

GameDownload DownloadGame(HttpClient& http, const BaseAddress& base, const std::string& libraryFolder,
                          const std::string& name, const std::string& title, const std::string& mark,
                          const LogSink& log, ScreenshotLines screenshots, Lines& gamePage)
{
    const std::string gameDir = libraryFolder + name;
    FetchGameFiles(http, base, gameDir, name, log, screenshots);

    const std::string markFile = gameDir + "/mark.txt";
    if (!WriteTextLines(markFile, {mark}))
        return {false, FileNotWritten(markFile)};
    log("Рейтинг:" + markFile + "    " + mark);

    gamePage = PageToLines(http.HttpGetText(base() + "page.php?name=" + EscapeForAddress(name)));
    if (const std::optional<std::string> description = FindDescription(gamePage, name)) {
        const std::string textFile = gameDir + "/" + name + ".txt";
        if (!WriteTextLines(textFile, {title, *description}))
            return {false, FileNotWritten(textFile)};
        log("Описание:" + textFile);
    }
    return {};
}

} // namespace ostrovik::games
