#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrovik::games {

/// One game of the catalogue's JSON list; each member as text (a number
/// gives its decimal text, a missing member an empty text).
struct TGameListEntry {
    std::string Name;
    std::string FullName;
    std::string Description;
    std::string Mark;
};

/// The list in @p text (UTF-8): nothing when it is not JSON or its top level
/// is not an array.
std::optional<std::vector<TGameListEntry>> ParseGameList(std::string_view text);

/// A text answer's body as UTF-8, by the character set its Content-Type
/// names (UTF-8 when it names none).
std::string DecodeByCharset(std::string_view body, std::string_view contentType);

} // namespace ostrovik::games
