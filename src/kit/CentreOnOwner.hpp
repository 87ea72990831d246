#pragma once

class QWidget;

namespace ostrovik::kit {

/// Puts the top-level @p window over the centre of @p owner's window, moved
/// as little as needed to keep it whole on the owner's screen (its top-left
/// corner first when it is larger than the screen).
void centreOnOwner(QWidget& window, const QWidget& owner);

} // namespace ostrovik::kit
