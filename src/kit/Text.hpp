#pragma once

#include <string_view>

#include <QString>

namespace ostrovik::kit {

/// UTF-8 text from the cores as a window shows it.
inline QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace ostrovik::kit
