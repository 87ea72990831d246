#include "ui/ProgramDialogs.hpp"

#include "netlink/qt/SessionDialog.hpp"
#include "ui/CompressorOptionsDialog.hpp"

namespace ostrovik::ui {

using kit::NetSessionChoice;
using kit::NetSessionRequest;
using kit::dialogs;
using kit::setProgramDialogs;

bool ProgramDialogs::compressorOptions(QWidget* parent, const QString& title,
                                       std::vector<files::avi::CompressorOption>& options)
{
    return editCompressorOptions(parent, title, options);
}

std::optional<NetSessionChoice> ProgramDialogs::netSession(QWidget* parent, const NetSessionRequest& request)
{
    return netlink::askSession(parent, request);
}

void installProgramDialogs()
{
    static ProgramDialogs dialogs;
    setProgramDialogs(&dialogs);
}

} // namespace ostrovik::ui
