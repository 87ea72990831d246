#pragma once

#include "kit/Dialogs.hpp"

namespace ostrovik::ui {

using kit::NetSessionChoice;
using kit::NetSessionRequest;
using kit::StandardDialogs;

/// The standard dialogs with the two that windows above the kit own: the
/// codec's options and the network session's connection dialog.
class ProgramDialogs final : public StandardDialogs {
public:
    bool compressorOptions(QWidget* parent, const QString& title,
                           std::vector<files::avi::CompressorOption>& options) override;
    std::optional<NetSessionChoice> netSession(QWidget* parent, const NetSessionRequest& request) override;
};

/// Makes ProgramDialogs the real dialogs from now on.
void installProgramDialogs();

} // namespace ostrovik::ui
