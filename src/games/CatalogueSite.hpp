#pragma once

#include <string_view>

namespace ostrovik::games {

/// The catalogue site's host: the rank and screenshot images inside its pages
/// carry it as fixed text, whatever address the user types into the window.
inline constexpr std::string_view kCatalogueHost = "localhost";
/// The catalogue's games folder: a site the user serves.
inline constexpr std::string_view kCatalogueGamesAddress = "http://localhost/games/";
/// The catalogue's JSON list of every game.
inline constexpr std::string_view kCatalogueJsonAddress = "http://localhost/games/list.php";

} // namespace ostrovik::games
