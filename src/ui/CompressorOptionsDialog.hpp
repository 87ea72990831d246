#pragma once

#include <vector>

#include <QString>

#include "files/avi/AviCodecs.hpp"

class QWidget;

namespace ostrovik::ui {

/// The codec's configuration dialog: one row per option of the encoder
/// (a box for yes/no options, a list for named values, a line for the rest),
/// with OK and Cancel. OK writes the values back into @p options.
bool editCompressorOptions(QWidget* parent, const QString& title, std::vector<files::avi::CompressorOption>& options);

} // namespace ostrovik::ui
