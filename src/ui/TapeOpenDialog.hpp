#pragma once

#include <QString>

namespace ostrovik::ui {

/// The open dialog of File → Open and of the ROM's tape load.
struct TapeOpenDialog {
    static const QString& title();
    /// Shown as its name, "*.lv*;*.sav".
    static const QString& filter();
    /// Added to a name typed without an extension.
    static const QString& defaultSuffix();
};

} // namespace ostrovik::ui
