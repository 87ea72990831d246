#include "games/JsonList.hpp"

#include <algorithm>
#include <cctype>

#include <nlohmann/json.hpp>

#include "platform/Cp1251.hpp"

namespace ostrovik::games {

namespace {

std::string memberText(const nlohmann::json& element, const char* name)
{
    if (!element.is_object())
        return {};
    const auto it = element.find(name);
    if (it == element.end() || it->is_null())
        return {};
    if (it->is_string())
        return it->get<std::string>();
    return it->dump();
}

std::string lower(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

} // namespace

std::optional<std::vector<TGameListEntry>> ParseGameList(std::string_view text)
{
    const nlohmann::json document = nlohmann::json::parse(text, nullptr, false);
    if (document.is_discarded() || !document.is_array())
        return std::nullopt;
    std::vector<TGameListEntry> entries;
    entries.reserve(document.size());
    for (const nlohmann::json& element : document)
        entries.push_back({memberText(element, "Name"), memberText(element, "FullName"),
                           memberText(element, "Description"), memberText(element, "Mark")});
    return entries;
}

std::string DecodeByCharset(std::string_view body, std::string_view contentType)
{
    const std::string type = lower(contentType);
    const std::size_t at = type.find("charset=");
    std::string charset = at == std::string::npos ? std::string() : type.substr(at + 8);
    std::erase(charset, '"');
    charset = charset.substr(0, charset.find_first_of("; "));
    if (charset == "windows-1251" || charset == "cp1251")
        return platform::Cp1251ToUtf8(body);
    if (charset == "iso-8859-1" || charset == "latin1" || charset == "us-ascii") {
        std::string out;
        for (const char ch : body) {
            const auto c = static_cast<unsigned char>(ch);
            if (c < 0x80) {
                out += ch;
            } else {
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        return out;
    }
    return std::string(body);
}

} // namespace ostrovik::games
