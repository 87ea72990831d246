#include "games/GameName.hpp"

namespace ostrovik::games {

bool IsSafeGameName(std::string_view name)
{
    if (name.empty() || name == "." || name == ".." || name.size() > kMaxGameNameBytes)
        return false;
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\')
            return false;
    }
    return true;
}

std::string RefusedNameLine(std::string_view name)
{
    constexpr std::size_t kQuoted = 64;
    std::string shown;
    std::size_t taken = 0;
    for (const char ch : name) {
        // Cut before a character's first byte, never inside its UTF-8 form.
        const bool startsCharacter = (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
        if (startsCharacter && taken >= kQuoted) {
            shown += "...";
            break;
        }
        ++taken;
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F) {
            static constexpr char hex[] = "0123456789ABCDEF";
            shown += "\\x";
            shown += hex[c >> 4];
            shown += hex[c & 0xF];
        } else {
            shown += ch;
        }
    }
    return "Имя игры \"" + shown + "\" не годится для папки, игра пропущена !!!";
}

std::string EscapeForAddress(std::string_view text)
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
