#pragma once

#include "games/CatalogueSite.hpp"

namespace ostrovik::ui {

/// The game catalogue's games folder: the download menu item names it, and
/// the downloader starts from it.
using games::kCatalogueGamesAddress;

} // namespace ostrovik::ui
