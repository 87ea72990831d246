#include "platform/IniDocument.hpp"

#include <algorithm>

namespace ostrovik::platform {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

char foldAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return foldAscii(x) == foldAscii(y); });
}

enum class Kind { Blank, Section, Key, Other };

struct Parsed {
    Kind kind = Kind::Other;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // key value, trimmed
    std::size_t equals = 0; // position of "=" in a key line
};

Parsed parse(std::string_view text)
{
    const std::string_view body = trim(text);
    if (body.empty()) {
        return {Kind::Blank, {}, {}, 0};
    }
    if (body.front() == '[') {
        const auto close = body.find(']');
        if (close == std::string_view::npos) {
            return {};
        }
        return {Kind::Section, trim(body.substr(1, close - 1)), {}, 0};
    }
    if (body.front() == ';') {
        return {};
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) {
        return {};
    }
    const std::string_view name = trim(text.substr(0, equals));
    if (name.empty()) {
        return {};
    }
    return {Kind::Key, name, trim(text.substr(equals + 1)), equals};
}

bool hasLineBreakOrZero(std::string_view s)
{
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

} // namespace

IniDocument::IniDocument(std::string_view bytes)
{
    // A byte-order mark that an editor put before the first line is no part
    // of its section name; it is written back as it was.
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (bytes.substr(0, kBom.size()) == kBom) {
        bom_ = std::string(kBom);
        bytes.remove_prefix(kBom.size());
    }
    while (!bytes.empty()) {
        const auto newline = bytes.find('\n');
        if (newline == std::string_view::npos) {
            lines_.push_back({std::string(bytes), {}});
            break;
        }
        std::string_view text = bytes.substr(0, newline);
        std::string end = "\n";
        if (!text.empty() && text.back() == '\r') {
            text.remove_suffix(1);
            end = "\r\n";
        }
        lines_.push_back({std::string(text), std::move(end)});
        bytes.remove_prefix(newline + 1);
    }
}

std::string IniDocument::bytes() const
{
    std::string out = bom_;
    for (const auto& line : lines_) {
        out += line.text;
        out += line.end;
    }
    return out;
}

std::string IniDocument::lineEnd() const
{
    for (const auto& line : lines_) {
        if (!line.end.empty()) {
            return line.end;
        }
    }
    return "\r\n";
}

namespace {

/// The lookup over any sequence of lines: @p nextLine yields each line's text
/// without its end, and false after the last.
template <typename NextLine>
std::optional<std::string> findIn(NextLine nextLine, std::string_view section, std::string_view key)
{
    section = trim(section);
    key = trim(key);
    bool inSection = false;
    bool seenSection = false;
    std::string_view text;
    while (nextLine(text)) {
        const Parsed p = parse(text);
        if (p.kind == Kind::Section) {
            if (inSection) {
                return std::nullopt; // only the first section of the name counts
            }
            inSection = !seenSection && sameName(p.name, section);
            seenSection = seenSection || inSection;
        } else if (inSection && p.kind == Kind::Key && sameName(p.name, key)) {
            std::string_view value = p.value;
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front()) {
                value = value.substr(1, value.size() - 2);
            }
            return std::string(value);
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> IniDocument::get(std::string_view section, std::string_view key) const
{
    std::size_t next = 0;
    return findIn(
        [&](std::string_view& text) {
            if (next == lines_.size()) {
                return false;
            }
            text = lines_[next++].text;
            return true;
        },
        section, key);
}

std::optional<std::string> IniDocument::find(std::string_view bytes, std::string_view section,
                                             std::string_view key)
{
    // Lines split exactly as the constructor splits them.
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (bytes.substr(0, kBom.size()) == kBom) {
        bytes.remove_prefix(kBom.size());
    }
    return findIn(
        [&](std::string_view& text) {
            if (bytes.empty()) {
                return false;
            }
            const auto newline = bytes.find('\n');
            text = bytes.substr(0, newline);
            bytes.remove_prefix(newline == std::string_view::npos ? bytes.size() : newline + 1);
            if (newline != std::string_view::npos && !text.empty() && text.back() == '\r') {
                text.remove_suffix(1);
            }
            return true;
        },
        section, key);
}

IniStatus IniDocument::set(std::string_view section, std::string_view key, std::string_view value)
{
    section = trim(section);
    key = trim(key);
    if (hasLineBreakOrZero(section) || section.find(']') != std::string_view::npos) {
        return IniStatus::failure("the section name cannot be stored in the file");
    }
    if (key.empty() || hasLineBreakOrZero(key) || key.find('=') != std::string_view::npos ||
        key.front() == '[' || key.front() == ';') {
        return IniStatus::failure("the key name cannot be stored in the file");
    }
    if (hasLineBreakOrZero(value)) {
        return IniStatus::failure("a value with a line break cannot be stored in the file");
    }

    const std::string end = lineEnd();
    const auto makeKeyLine = [&] { return Line{std::string(key) + '=' + std::string(value), end}; };

    // Locate the first section of that name: its header and the line after its last one.
    std::size_t header = lines_.size();
    std::size_t stop = lines_.size();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Parsed p = parse(lines_[i].text);
        if (p.kind != Kind::Section) {
            continue;
        }
        if (header < lines_.size()) {
            stop = i;
            break;
        }
        if (sameName(p.name, section)) {
            header = i;
        }
    }

    if (header == lines_.size()) {
        if (!lines_.empty() && lines_.back().end.empty()) {
            lines_.back().end = end;
        }
        lines_.push_back({'[' + std::string(section) + ']', end});
        lines_.push_back(makeKeyLine());
        return {};
    }

    std::size_t insertAt = header + 1;
    for (std::size_t i = header + 1; i < stop; ++i) {
        const Parsed p = parse(lines_[i].text);
        if (p.kind == Kind::Key && sameName(p.name, key)) {
            Line& line = lines_[i];
            line.text.resize(p.equals + 1);
            line.text += value;
            return {};
        }
        if (p.kind != Kind::Blank) {
            insertAt = i + 1;
        }
    }
    if (lines_[insertAt - 1].end.empty()) {
        lines_[insertAt - 1].end = end;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), makeKeyLine());
    return {};
}

} // namespace ostrovik::platform
