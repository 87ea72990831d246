#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrovik::games {

/// The library root beside the executable: @p programDir (without its
/// trailing separator) followed by "/GAMES_SOFT/offline/".
std::string libraryRoot(const std::string& programDir);

/// Every game of the library: the names of the root's sub-folders (hidden
/// ones included; plain files are not games), in the order the directory
/// search gives them. Empty when the root is missing.
std::vector<std::string> gamesInLibrary(const std::string& root);

/// How many games the root holds, as the 16-bit count the browser keeps.
std::uint16_t countGames(const std::string& root);

/// @p s without any blank (0x20); other white space stays.
std::string deleteUselessSpaces(std::string s);

/// What the first line of mark.txt asks the rating bar to show.
struct Rating {
    bool clear = true;        ///< no stars (empty line or "0")
    std::uint8_t mark = 0;    ///< otherwise the mark handed to DrawStar
    std::string error;        ///< not empty: the line is no integer
};
/// Reads the first line of mark.txt: blanks removed, a signed decimal
/// integer, its low 8 bits taken as an unsigned byte. An error quotes at most
/// the line's first kQuotedBytes bytes.
Rating parseRating(const std::string& firstLine);
inline constexpr std::size_t kQuotedBytes = 40;

/// Where the stars of @p mark go: full stars at 31·k, a half star at
/// halfStarX (or none); marks above 10 count as 10.
struct StarLayout {
    int fullStars = 0;
    std::optional<int> halfStarX;
};
StarLayout layoutStars(std::uint8_t mark);
inline constexpr int kStarWidth = 31;
inline constexpr int kHalfStarWidth = 16;

/// The file that runs @p game: its ".lvt", else its ".sav"; nothing when
/// neither exists.
std::optional<std::string> runnableFile(const std::string& root, const std::string& game);

/// How much the browser reads of a game folder's files: the description as
/// far as its box can sensibly show it (dozens of screens; text laid out in
/// one line without a blank costs time that grows with the square of its
/// length), the start of mark.txt (a rating is a few digits), a screenshot
/// far larger than any 256×256 PNG.
inline constexpr std::size_t kDescriptionBytes = 8 * 1024;
inline constexpr std::size_t kMarkBytes = 4 * 1024;
inline constexpr std::size_t kScreenshotBytes = 8 * 1024 * 1024;

/// One file of a game folder as the browser reads it.
struct GameFile {
    enum class State {
        Absent, ///< nothing by that name, or a folder: the file is not there
        Read,   ///< bytes hold the file, or its start when cut
        Failed, ///< it cannot be read (a FIFO, a device, too large, …): see reason
    };
    State state = State::Absent;
    std::string bytes;
    bool cut = false; ///< the file holds more than the bound; bytes is its start
    std::string reason;
};
/// Reads @p path, only when it is a regular file, and at most @p maxBytes of
/// it: a longer file is cut there when @p keepStart, refused otherwise.
GameFile readGameFile(const std::string& path, std::size_t maxBytes, bool keepStart);

/// Text of the library (Windows-1251, lines ending in CR LF, CR or LF) as
/// UTF-8 lines.
std::vector<std::string> textLines(std::string_view bytes);

/// The line the browser puts under a description cut at kDescriptionBytes.
std::string descriptionCutLine();

/// The rating that mark.txt's @p bytes hold; @p cut says the file goes on
/// past them, so a first line without its end is longer than was read.
Rating ratingOfMarkFile(std::string_view bytes, bool cut);

/// Writes @p lines (UTF-8) as Windows-1251 text lines ending in CR LF,
/// replacing the file; false when it cannot be written.
bool writeTextLines(const std::string& path, const std::vector<std::string>& lines);

/// The messages of the library (UTF-8); their line breaks are a line feed
/// followed by a carriage return. @p downloadAddress is the catalogue's
/// games page that the download menu item names.
std::string rootMissingMessage(const std::string& root, std::string_view downloadAddress);
std::string noGamesMessage(const std::string& root, std::string_view downloadAddress);
std::string nothingToRunMessage(const std::string& game);

} // namespace ostrovik::games
