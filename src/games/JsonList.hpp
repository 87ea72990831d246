#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrovik::games {

/// One game of the catalogue's JSON list; each member as text (a number
/// gives its decimal text, a missing member an empty text).
struct GameListEntry {
    std::string name;
    std::string fullName;
    std::string description;
    std::string mark;

    bool operator==(const GameListEntry&) const = default;
};

/// How deep a list may nest objects and arrays (the list itself is level 1,
/// each game level 2).
inline constexpr std::size_t kMaxJsonDepth = 64;
/// How many games a list may hold (the most the gauge can count).
inline constexpr std::size_t kMaxListGames = 65'535;

/// The list in @p text (UTF-8): nothing when it is not JSON, its top level
/// is not an array, it nests deeper than kMaxJsonDepth or holds more than
/// kMaxListGames games; for these last two @p refusal gets a log line.
std::optional<std::vector<GameListEntry>> parseGameList(std::string_view text, std::string* refusal = nullptr);

/// A text answer's body as UTF-8, by the character set its Content-Type
/// names (UTF-8 when it names none).
std::string decodeByCharset(std::string_view body, std::string_view contentType);

} // namespace ostrovik::games
