#include "games/CataloguePage.hpp"

#include "games/CatalogueSite.hpp"
#include "platform/Cp1251.hpp"
#include "platform/Integers.hpp"

namespace ostrovik::games {

namespace {

constexpr std::string_view kCountMarker = "</strong> [ total games:";
constexpr std::string_view kTableHead = "\t  <th class=\"thTop\" nowrap=\"nowrap\">Mark</th>";
constexpr std::string_view kNameLine = "\t  <td class=\"\" align=\"center\"><span class=\"gen\"><a href=\"page.php?name=";
constexpr std::string_view kNameEnd = "\" class=\"gen\">";
constexpr std::string_view kTitleEnd = "</a></span></td>";
constexpr std::string_view kRankLineStart = "\t  <td class=\"\" align=\"center\"><span class=\"gen\"><img src=\"http://";
constexpr std::string_view kRankLineEnd = "/ranks/rank";
constexpr std::string_view kRankEnd = ".gif\"></span></td>";
constexpr std::string_view kDescriptionStart = "<img src=\"http://";
constexpr std::string_view kDescriptionGames = "/games/";
constexpr std::string_view kDescriptionScreen =
    "/screen2.png\" width = 256 height = 256 /></td></tr><tr><td COLSPAN=3>";
constexpr std::string_view kDescriptionEnd = "</td></tr>";
constexpr std::string_view kTableEnd = "</table>";

bool contains(std::string_view line, std::string_view marker)
{
    return line.find(marker) != std::string_view::npos;
}

/// @p line without the occurrences of @p marker, found from left to right
/// in one pass; parts joined by a removal are not searched again.
std::string removeAll(std::string_view line, std::string_view marker)
{
    std::string kept;
    kept.reserve(line.size());
    std::size_t from = 0;
    for (std::size_t at; (at = line.find(marker, from)) != std::string_view::npos; from = at + marker.size())
        kept.append(line.substr(from, at - from));
    kept.append(line.substr(from));
    return kept;
}

/// Calls @p take(begin, end) for each line of @p text in order.
template <class Take>
void forEachLine(std::string_view text, Take take)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t stop = text.find_first_of("\r\n", start);
        if (stop == std::string_view::npos)
            stop = text.size();
        take(start, stop);
        start = stop;
        if (start < text.size() && text[start] == '\r')
            ++start;
        if (start < text.size() && text[start] == '\n')
            ++start;
    }
}

std::size_t countLines(std::string_view text)
{
    std::size_t count = 0;
    forEachLine(text, [&count](std::size_t, std::size_t) { ++count; });
    return count;
}

bool validUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size() || (n == 2 && c < 0xC2) || (n == 4 && c > 0xF4))
            return false;
        char32_t cp = n == 1 ? c : c & (0x7F >> n);
        for (std::size_t k = 1; k < n; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if ((b & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (b & 0x3F);
        }
        if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += n;
    }
    return true;
}

} // namespace

Lines::Lines(std::initializer_list<std::string_view> lines)
{
    for (const std::string_view line : lines) {
        const auto begin = static_cast<std::uint32_t>(text_.size());
        text_.append(line);
        spans_.emplace_back(begin, static_cast<std::uint32_t>(text_.size()));
    }
}

bool Lines::operator==(const Lines& other) const
{
    if (size() != other.size())
        return false;
    for (std::size_t i = 0; i < size(); ++i)
        if ((*this)[i] != other[i])
            return false;
    return true;
}

Lines Lines::split(std::string text)
{
    Lines lines;
    if (text.size() > UINT32_MAX)
        return lines;
    lines.text_ = std::move(text);
    lines.spans_.reserve(countLines(lines.text_));
    forEachLine(lines.text_, [&lines](std::size_t begin, std::size_t end) {
        lines.spans_.emplace_back(static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end));
    });
    return lines;
}

std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines;
    lines.reserve(countLines(text));
    forEachLine(text, [&](std::size_t begin, std::size_t end) { lines.emplace_back(text.substr(begin, end - begin)); });
    return lines;
}

Lines pageToLines(std::string bytes)
{
    return validUtf8(bytes) ? Lines::split(std::move(bytes)) : Lines();
}

GameCount readGameCount(const Lines& page)
{
    GameCount result;
    for (const std::string_view line : page) {
        if (!contains(line, kCountMarker))
            continue;
        // Positions L-9 to L-6, counted from 1, of the line as 8-bit text:
        // the four characters before the last six.
        const std::string text = platform::utf8ToCp1251(line);
        std::string digits;
        if (text.size() >= 10)
            digits = text.substr(text.size() - 10, 4);
        else if (text.size() > 6)
            digits = text.substr(0, text.size() - 6);
        digits = removeAll(digits, " ");
        const std::optional<std::int32_t> value = platform::parseInteger(digits, 10, false);
        if (!value) {
            result.error = platform::invalidIntegerMessage(digits);
            return result;
        }
        result.count = static_cast<std::uint16_t>(*value);
    }
    return result;
}

std::uint16_t wholePages(std::uint16_t count)
{
    for (std::uint16_t pages = 50; pages <= 600; pages += 50)
        if (pages >= count)
            return pages;
    return count;
}

std::optional<std::size_t> findTableHead(const Lines& page)
{
    for (std::size_t i = 0; i < page.size(); ++i)
        if (contains(page[i], kTableHead))
            return i;
    return std::nullopt;
}

std::vector<GameRow> readRows(const Lines& page, std::size_t head)
{
    static const std::string kRankLine =
        std::string(kRankLineStart) + std::string(kCatalogueHost) + std::string(kRankLineEnd);
    const auto lineAt = [&](std::size_t i) { return i < page.size() ? page[i] : std::string_view(); };
    std::vector<GameRow> rows;
    for (std::size_t at = head; at < page.size() && page[at] != kTableEnd;) {
        ++at;
        if (at >= page.size())
            break;
        if (!contains(page[at], kNameLine))
            continue;
        GameRow row;
        row.name = removeAll(removeAll(page[at], kNameLine), kNameEnd);
        row.title = removeAll(lineAt(at + 1), kTitleEnd);
        row.mark = removeAll(removeAll(lineAt(at + 2), kRankLine), kRankEnd);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<std::string> findDescription(const Lines& page, std::string_view name)
{
    const std::string marker = std::string(kDescriptionStart) + std::string(kCatalogueHost) +
                               std::string(kDescriptionGames) + std::string(name) + std::string(kDescriptionScreen);
    for (std::size_t i = 0; i < page.size(); ++i) {
        if (contains(page[i], marker)) {
            if (i + 1 >= page.size())
                return std::nullopt;
            return removeAll(page[i + 1], kDescriptionEnd);
        }
    }
    return std::nullopt;
}

std::string gameCountLine(std::uint16_t count)
{
    return "Игр на сайте:" + std::to_string(count);
}

} // namespace ostrovik::games
