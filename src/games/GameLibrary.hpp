#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrovik::games {

/// The library root beside the executable: @p programDir (without its
/// trailing separator) followed by "/GAMES_SOFT/offline/".
std::string LibraryRoot(const std::string& programDir);

/// Every game of the library: the names of the root's sub-folders (hidden
/// ones included; plain files are not games), in the order the directory
/// search gives them. Empty when the root is missing.
std::vector<std::string> ListGames(const std::string& root);

/// How many games the root holds, as the 16-bit count the browser keeps.
std::uint16_t CountGames(const std::string& root);

/// @p s without any blank (0x20); other white space stays.
std::string DeleteUselessSpaces(std::string s);

/// What the first line of mark.txt asks the rating bar to show.
struct Rating {
    bool clear = true;        ///< no stars (empty line or "0")
    std::uint8_t mark = 0;    ///< otherwise the mark handed to DrawStar
    std::string error;        ///< not empty: the line is no integer
};
/// Reads the first line of mark.txt: blanks removed, a signed decimal
/// integer, its low 8 bits taken as an unsigned byte.
Rating ParseRating(const std::string& firstLine);

/// Where the stars of @p mark go: full stars at 31·k, a half star at
/// halfStarX (or none); marks above 10 count as 10.
struct StarLayout {
    int fullStars = 0;
    std::optional<int> halfStarX;
};
StarLayout LayoutStars(std::uint8_t mark);
inline constexpr int kStarWidth = 31;
inline constexpr int kHalfStarWidth = 16;

/// The file that runs @p game: its ".lvt", else its ".sav"; nothing when
/// neither exists.
std::optional<std::string> RunnableFile(const std::string& root, const std::string& game);

/// A text file of the library (Windows-1251, CR LF) as UTF-8 lines; nothing
/// when it cannot be read.
std::optional<std::vector<std::string>> ReadTextLines(const std::string& path);

/// Writes @p lines (UTF-8) as Windows-1251 text lines ending in CR LF,
/// replacing the file; false when it cannot be written.
bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines);

/// The messages of the library (UTF-8); their line breaks are a line feed
/// followed by a carriage return. @p downloadAddress is the catalogue's
/// games page that the download menu item names.
std::string RootMissingMessage(const std::string& root, std::string_view downloadAddress);
std::string NoGamesMessage(const std::string& root, std::string_view downloadAddress);
std::string NothingToRunMessage(const std::string& game);

} // namespace ostrovik::games
