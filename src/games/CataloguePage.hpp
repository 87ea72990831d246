#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrovik::games {

using Lines = std::vector<std::string>;

/// @p text split into lines at CR LF, LF or CR; an empty text has none.
Lines SplitLines(std::string_view text);

/// A page's bytes split into lines at CR LF, LF or CR; a page that is not
/// valid UTF-8 has no lines. The lines stay UTF-8.
Lines PageToLines(std::string_view bytes);

/// The game count that the start page announces.
struct GameCount {
    std::uint16_t count = 0;
    std::string error; ///< not empty: the count characters are no number
};
/// The last line holding the count marker decides: its four characters
/// before the last six, blanks removed, read as a decimal number.
GameCount ReadGameCount(const Lines& page);

/// The count raised to whole list pages of 50, up to 600; above 600 it stays.
std::uint16_t WholePages(std::uint16_t count);

/// One row of a list page's games table.
struct GameRow {
    std::string name;  ///< folder name and file stem
    std::string title; ///< the row's link text
    std::string mark;  ///< from the rank image's name
};

/// The first line holding the table head, if any.
std::optional<std::size_t> FindTableHead(const Lines& page);

/// The rows of the table that starts at @p head, in page order. The walk
/// ends at a line that is exactly "</table>" or at the page's end; a row
/// cut short by the page's end has empty texts for its missing lines.
std::vector<GameRow> ReadRows(const Lines& page, std::size_t head);

/// The description on a game's page: the line after the first one holding
/// the second screenshot's image of @p name, with every description end
/// removed; nothing without such a line (or without a line after it).
std::optional<std::string> FindDescription(const Lines& page, std::string_view name);

/// The log line with the count: "Игр на сайте:" and the number.
std::string GameCountLine(std::uint16_t count);

} // namespace ostrovik::games
