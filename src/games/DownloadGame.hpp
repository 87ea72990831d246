#pragma once

#include <functional>
#include <string>

#include "games/CataloguePage.hpp"
#include "games/Http.hpp"

namespace ostrovik::games {

/// Adds one line to the downloader's log.
using LogSink = std::function<void(const std::string&)>;
/// The catalogue's base address as the window shows it now; read anew for
/// every address built.
using BaseAddress = std::function<std::string()>;

/// When the two screenshot lines are logged.
enum class ScreenshotLines {
    AfterBoth,       ///< both lines after both fetches (on the window's thread)
    EachAfterItsOwn, ///< each line right after its own fetch (in a worker)
};

/// Fetches a game's files into @p gameDir (created first, with every missing
/// parent): both screenshots, the ".lvt" or else the ".sav", and the tape
/// parts ".lv0" to ".lv6" that the catalogue has. @p name goes into the
/// addresses escaped; the log shows it as it stands.
void FetchGameFiles(HttpClient& http, const BaseAddress& base, const std::string& gameDir, const std::string& name,
                    const LogSink& log, ScreenshotLines screenshots);

/// How a game's download ended.
struct GameDownload {
    bool written = true; ///< false: mark.txt or the ".txt" could not be written
    std::string error;   ///< then: which file
};

/// The whole download of one game into @p libraryFolder + @p name: its
/// files, mark.txt with @p mark, and, when the game's page has the
/// description line, "<name>.txt" with @p title and the description. The
/// game's page goes into @p gamePage.
GameDownload DownloadGame(HttpClient& http, const BaseAddress& base, const std::string& libraryFolder,
                          const std::string& name, const std::string& title, const std::string& mark,
                          const LogSink& log, ScreenshotLines screenshots, Lines& gamePage);

/// The message of a text file that could not be written.
std::string FileNotWritten(const std::string& path);

} // namespace ostrovik::games
