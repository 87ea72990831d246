#pragma once

#include <functional>
#include <string>

#include "games/CataloguePage.hpp"
#include "games/Http.hpp"
#include "games/JsonList.hpp"

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

/// A game's folder while its files arrive: a fresh folder beside the library
/// (so the library never lists a game in the making), moved into the library
/// under the game's name once the game is whole, and removed otherwise, also
/// when the download is abandoned part-way.
class GameUnderway {
public:
    /// @p libraryFolder ends with "/"; it is made when missing.
    GameUnderway(const std::string& libraryFolder, const std::string& name);
    ~GameUnderway();
    GameUnderway(const GameUnderway&) = delete;
    GameUnderway& operator=(const GameUnderway&) = delete;

    /// False when the folder could not be made.
    bool made() const { return !dir_.empty(); }
    /// Where the files go while they arrive.
    const std::string& dir() const { return dir_; }
    /// The game's folder in the library.
    const std::string& finalDir() const { return finalDir_; }
    /// Puts the game into the library: the folder as a whole when the game
    /// is new there, file by file over an older copy. False when the disk
    /// refuses.
    bool place();

private:
    std::string dir_;
    std::string finalDir_;
};

/// Fetches a game's files into @p gameDir: both screenshots, the ".lvt" or
/// else the ".sav", and the tape parts ".lv0" to ".lv6" that the catalogue
/// has. A file is logged as fetched only when it arrived whole; a screenshot
/// or the ".sav" that did not is logged as not fetched. @p name goes into the
/// addresses escaped; the log shows it as it stands. False, with the rest
/// not fetched, when a file failed on its way or neither the ".lvt" nor the
/// ".sav" is there: the game is not whole.
bool fetchGameFiles(HttpClient& http, const BaseAddress& base, const std::string& gameDir, const std::string& name,
                    const LogSink& log, ScreenshotLines screenshots);

/// How a game's download ended.
struct GameDownload {
    bool whole = false; ///< the game arrived and stands in the library
    std::string error;  ///< not empty: a file of ours could not be written
};

/// The whole download of one catalogue game into @p libraryFolder + @p name:
/// its files, mark.txt with @p mark, and, when the game's page has the
/// description line, "<name>.txt" with @p title and the description. The
/// game's page goes into @p gamePage. A game that did not arrive whole is
/// logged as such and leaves nothing in the library.
GameDownload downloadGame(HttpClient& http, const BaseAddress& base, const std::string& libraryFolder,
                          const std::string& name, const std::string& title, const std::string& mark,
                          const LogSink& log, ScreenshotLines screenshots, Lines& gamePage);

/// The same for a game of the JSON list: its files, then "<Name>.txt" and
/// mark.txt from the entry's members.
GameDownload downloadListedGame(HttpClient& http, const std::string& base, const std::string& libraryFolder,
                                const GameListEntry& game, const LogSink& log);

/// The log line of a game that did not arrive whole.
std::string gameNotFetchedLine(const std::string& title);

/// The message of a text file that could not be written.
std::string fileNotWritten(const std::string& path);

} // namespace ostrovik::games
