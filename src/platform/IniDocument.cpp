#include "platform/IniDocument.hpp"

#include <algorithm>

namespace ostrovik::platform {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

char FoldAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

enum class Kind { Blank, Section, Key, Other };

struct Parsed {
    Kind kind = Kind::Other;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // key value, trimmed
    std::size_t equals = 0; // position of "=" in a key line
};

Parsed Parse(std::string_view text)
{
    const std::string_view body = Trim(text);
    if (body.empty()) {
        return {Kind::Blank, {}, {}, 0};
    }
    if (body.front() == '[') {
        const auto close = body.find(']');
        if (close == std::string_view::npos) {
            return {};
        }
        return {Kind::Section, Trim(body.substr(1, close - 1)), {}, 0};
    }
    if (body.front() == ';') {
        return {};
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) {
        return {};
    }
    const std::string_view name = Trim(text.substr(0, equals));
    if (name.empty()) {
        return {};
    }
    return {Kind::Key, name, Trim(text.substr(equals + 1)), equals};
}

bool HasLineBreakOrZero(std::string_view s)
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
        m_bom = std::string(kBom);
        bytes.remove_prefix(kBom.size());
    }
    while (!bytes.empty()) {
        const auto newline = bytes.find('\n');
        if (newline == std::string_view::npos) {
            m_lines.push_back({std::string(bytes), {}});
            break;
        }
        std::string_view text = bytes.substr(0, newline);
        std::string end = "\n";
        if (!text.empty() && text.back() == '\r') {
            text.remove_suffix(1);
            end = "\r\n";
        }
        m_lines.push_back({std::string(text), std::move(end)});
        bytes.remove_prefix(newline + 1);
    }
}

std::string IniDocument::Bytes() const
{
    std::string out = m_bom;
    for (const auto& line : m_lines) {
        out += line.text;
        out += line.end;
    }
    return out;
}

std::string IniDocument::LineEnd() const
{
    for (const auto& line : m_lines) {
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
std::optional<std::string> FindIn(NextLine nextLine, std::string_view section, std::string_view key)
{
    section = Trim(section);
    key = Trim(key);
    bool inSection = false;
    bool seenSection = false;
    std::string_view text;
    while (nextLine(text)) {
        const Parsed p = Parse(text);
        if (p.kind == Kind::Section) {
            if (inSection) {
                return std::nullopt; // only the first section of the name counts
            }
            inSection = !seenSection && SameName(p.name, section);
            seenSection = seenSection || inSection;
        } else if (inSection && p.kind == Kind::Key && SameName(p.name, key)) {
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

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const
{
    std::size_t next = 0;
    return FindIn(
        [&](std::string_view& text) {
            if (next == m_lines.size()) {
                return false;
            }
            text = m_lines[next++].text;
            return true;
        },
        section, key);
}

std::optional<std::string> IniDocument::Find(std::string_view bytes, std::string_view section,
                                             std::string_view key)
{
    // Lines split exactly as the constructor splits them.
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (bytes.substr(0, kBom.size()) == kBom) {
        bytes.remove_prefix(kBom.size());
    }
    return FindIn(
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

IniStatus IniDocument::Set(std::string_view section, std::string_view key, std::string_view value)
{
    section = Trim(section);
    key = Trim(key);
    if (HasLineBreakOrZero(section) || section.find(']') != std::string_view::npos) {
        return IniStatus::Failure("the section name cannot be stored in the file");
    }
    if (key.empty() || HasLineBreakOrZero(key) || key.find('=') != std::string_view::npos ||
        key.front() == '[' || key.front() == ';') {
        return IniStatus::Failure("the key name cannot be stored in the file");
    }
    if (HasLineBreakOrZero(value)) {
        return IniStatus::Failure("a value with a line break cannot be stored in the file");
    }

    const std::string end = LineEnd();
    const auto makeKeyLine = [&] { return Line{std::string(key) + '=' + std::string(value), end}; };

    // Locate the first section of that name: its header and the line after its last one.
    std::size_t header = m_lines.size();
    std::size_t stop = m_lines.size();
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const Parsed p = Parse(m_lines[i].text);
        if (p.kind != Kind::Section) {
            continue;
        }
        if (header < m_lines.size()) {
            stop = i;
            break;
        }
        if (SameName(p.name, section)) {
            header = i;
        }
    }

    if (header == m_lines.size()) {
        if (!m_lines.empty() && m_lines.back().end.empty()) {
            m_lines.back().end = end;
        }
        m_lines.push_back({'[' + std::string(section) + ']', end});
        m_lines.push_back(makeKeyLine());
        return {};
    }

    std::size_t insertAt = header + 1;
    for (std::size_t i = header + 1; i < stop; ++i) {
        const Parsed p = Parse(m_lines[i].text);
        if (p.kind == Kind::Key && SameName(p.name, key)) {
            Line& line = m_lines[i];
            line.text.resize(p.equals + 1);
            line.text += value;
            return {};
        }
        if (p.kind != Kind::Blank) {
            insertAt = i + 1;
        }
    }
    if (m_lines[insertAt - 1].end.empty()) {
        m_lines[insertAt - 1].end = end;
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt), makeKeyLine());
    return {};
}

} // namespace ostrovik::platform
