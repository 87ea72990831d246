#pragma once

#include <string_view>

namespace ostrovik::ui {

/// The game catalogue's games folder: a site the user serves. The download
/// menu item names it, and the downloader starts from it.
inline constexpr std::string_view kCatalogueGamesAddress = "http://localhost/games/";

} // namespace ostrovik::ui
