#include "games/GameName.hpp"

#include "games/LogText.hpp"

namespace ostrovik::games {

bool isSafeGameName(std::string_view name)
{
    if (name.empty() || name == "." || name == ".." || name.size() > kMaxGameNameBytes)
        return false;
    for (std::size_t at = 0; at < name.size(); ++at)
        if (name[at] == '/' || name[at] == '\\' || layoutControlLength(name, at) != 0)
            return false;
    return true;
}

std::string refusedNameLine(std::string_view name)
{
    return "Имя игры \"" + quoteInLog(name) + "\" не годится для папки, игра пропущена !!!";
}

std::string escapeForAddress(std::string_view text)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '.' || c == '_' || c == '~';
        if (plain) {
            out += ch;
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0xF];
        }
    }
    return out;
}

} // namespace ostrovik::games
