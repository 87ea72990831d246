#include "games/JsonList.hpp"

#include <algorithm>
#include <cctype>

#include <nlohmann/json.hpp>

#include "platform/Cp1251.hpp"

namespace ostrovik::games {

namespace {

using Json = nlohmann::json;

/// Reads the list as the parser goes, keeping only the four members of each
/// element: no tree of the whole document is built, and parsing stops at
/// the first level past kMaxJsonDepth or the element past kMaxListGames.
class ListReader final : public nlohmann::json_sax<Json> {
public:
    std::vector<GameListEntry> entries;
    bool array = false;   ///< the top level is an array
    bool tooDeep = false;
    bool tooMany = false;

    bool null() override { return scalar(Json()); }
    bool boolean(bool value) override { return scalar(Json(value)); }
    bool number_integer(number_integer_t value) override { return scalar(Json(value)); }
    bool number_unsigned(number_unsigned_t value) override { return scalar(Json(value)); }
    bool number_float(number_float_t value, const string_t&) override { return scalar(Json(value)); }
    bool string(string_t& value) override
    {
        if (depth_ == 2 && member_ && captured_.empty()) {
            *member_ = std::move(value);
            return true;
        }
        return scalar(Json(std::move(value)));
    }
    bool binary(binary_t&) override { return false; }

    bool start_object(std::size_t) override { return open(Json::object()); }
    bool start_array(std::size_t) override { return open(Json::array()); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }

    bool key(string_t& name) override
    {
        if (!captured_.empty()) {
            key_ = std::move(name);
        } else if (depth_ == 2) {
            GameListEntry& e = entries.back();
            member_ = name == "Name" ? &e.name
                      : name == "FullName" ? &e.fullName
                      : name == "Description" ? &e.description
                      : name == "Mark" ? &e.mark
                      : nullptr;
        }
        return true;
    }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override
    {
        return false;
    }

private:
    /// A new element of the list; false past the last one allowed.
    bool element()
    {
        if (entries.size() == kMaxListGames) {
            tooMany = true;
            return false;
        }
        entries.emplace_back();
        member_ = nullptr;
        return true;
    }

    bool scalar(Json value)
    {
        if (depth_ == 0)
            return false; // a top level that is no array
        if (depth_ == 1)
            return element();
        if (!captured_.empty()) {
            add(std::move(value));
        } else if (depth_ == 2 && member_) {
            // A missing or null member reads as empty; any other value as
            // the library's text of it.
            *member_ = value.is_null() ? std::string() : value.dump();
        }
        return true;
    }

    bool open(Json container)
    {
        if (depth_ == kMaxJsonDepth) {
            tooDeep = true;
            return false;
        }
        ++depth_;
        if (depth_ == 1) {
            array = container.is_array();
            return array;
        }
        if (depth_ == 2)
            return element();
        if (!captured_.empty())
            captured_.push_back(add(std::move(container)));
        else if (depth_ == 3 && member_) {
            root_ = std::move(container);
            captured_.push_back(&root_);
        }
        return true;
    }

    bool close()
    {
        if (!captured_.empty()) {
            captured_.pop_back();
            if (captured_.empty()) {
                *member_ = root_.dump();
                root_ = Json();
            }
        }
        if (depth_ == 2)
            member_ = nullptr;
        --depth_;
        return true;
    }

    /// Puts @p value into the innermost captured container.
    Json* add(Json value)
    {
        Json& into = *captured_.back();
        if (into.is_object())
            return &(into[key_] = std::move(value));
        into.push_back(std::move(value));
        return &into.back();
    }

    std::size_t depth_ = 0;
    std::string* member_ = nullptr; ///< the wanted member whose value comes next
    Json root_;                     ///< a wanted member's value that is a container
    std::vector<Json*> captured_;   ///< its containers still open, innermost last
    std::string key_;
};

std::string lower(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

} // namespace

std::optional<std::vector<GameListEntry>> parseGameList(std::string_view text, std::string* refusal)
{
    ListReader reader;
    const bool whole = Json::sax_parse(text, &reader);
    if (refusal && reader.tooDeep)
        *refusal = "Список JSON вложен глубже " + std::to_string(kMaxJsonDepth) + " уровней, не читаем его !!!";
    if (refusal && reader.tooMany)
        *refusal = "В списке JSON больше " + std::to_string(kMaxListGames) + " игр, не читаем его !!!";
    if (!whole || !reader.array)
        return std::nullopt;
    return std::move(reader.entries);
}

std::string decodeByCharset(std::string_view body, std::string_view contentType)
{
    const std::string type = lower(contentType);
    const std::size_t at = type.find("charset=");
    std::string charset = at == std::string::npos ? std::string() : type.substr(at + 8);
    std::erase(charset, '"');
    charset = charset.substr(0, charset.find_first_of("; "));
    if (charset == "windows-1251" || charset == "cp1251")
        return platform::cp1251ToUtf8(body);
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
