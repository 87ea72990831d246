#pragma once

class QWidget;

namespace ostrovik::games {

/// Puts @p form over the centre of @p parent's window, moved as little as
/// needed to keep it whole on the screen.
void CentreOnMainWindow(QWidget& form, QWidget* parent);

} // namespace ostrovik::games
