#include "games/GameLibrary.hpp"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "games/CataloguePage.hpp"
#include "platform/Cp1251.hpp"

namespace ostrovik::games {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kBreak = "\n\r";
// The Russian caption of the download menu item, which the messages quote.
constexpr std::string_view kDownloadItem = "Скачать игры с  ";

std::string slurp(const std::string& path, bool& ok)
{
    std::ifstream in(path, std::ios::binary);
    ok = static_cast<bool>(in);
    return ok ? std::string(std::istreambuf_iterator<char>(in), {}) : std::string();
}

} // namespace

std::string LibraryRoot(const std::string& programDir)
{
    return programDir + "/GAMES_SOFT/offline/";
}

std::vector<std::string> ListGames(const std::string& root)
{
    std::vector<std::string> games;
    std::error_code ec;
    fs::directory_iterator it(root, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError))
            games.push_back(it->path().filename().string());
    }
    return games;
}

std::uint16_t CountGames(const std::string& root)
{
    return static_cast<std::uint16_t>(ListGames(root).size());
}

std::string DeleteUselessSpaces(std::string s)
{
    std::erase(s, ' ');
    return s;
}

Rating ParseRating(const std::string& firstLine)
{
    Rating r;
    if (firstLine.empty() || firstLine == "0")
        return r;
    const std::string text = DeleteUselessSpaces(firstLine);
    std::int32_t value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+')
        ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (text.empty() || error != std::errc() || end != last) {
        r.error = "'" + text + "' is not a valid integer value";
        return r;
    }
    r.clear = false;
    r.mark = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & 0xFF);
    return r;
}

StarLayout LayoutStars(std::uint8_t mark)
{
    const int m = mark > 10 ? 10 : mark;
    StarLayout layout;
    layout.fullStars = m / 2;
    if (m % 2)
        layout.halfStarX = kStarWidth * layout.fullStars;
    return layout;
}

std::optional<std::string> RunnableFile(const std::string& root, const std::string& game)
{
    std::error_code ec;
    for (const char* ext : {".lvt", ".sav"}) {
        const std::string path = root + game + "/" + game + ext;
        if (fs::is_regular_file(path, ec))
            return path;
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>> ReadTextLines(const std::string& path)
{
    bool ok = false;
    const std::string bytes = slurp(path, ok);
    if (!ok)
        return std::nullopt;
    std::vector<std::string> lines;
    for (const std::string& line : SplitLines(bytes))
        lines.push_back(platform::Cp1251ToUtf8(line));
    return lines;
}

bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines)
        out << platform::Utf8ToCp1251(line) << "\r\n";
    out.flush();
    return static_cast<bool>(out);
}

namespace {

/// The two messages share their shape: what is missing, then where to go.
std::string libraryMessage(const std::string& first, const std::string& action, std::string_view downloadAddress)
{
    std::string text = first;
    text += kBreak;
    text += action + "пройдите в меню \"";
    text += kDownloadItem;
    text += downloadAddress;
    text += "\" ";
    text += kBreak;
    text += "для закачки игр !!!";
    return text;
}

} // namespace

std::string RootMissingMessage(const std::string& root, std::string_view downloadAddress)
{
    return libraryMessage("Нет каталога " + root, "создаю каталог , ", downloadAddress);
}

std::string NoGamesMessage(const std::string& root, std::string_view downloadAddress)
{
    return libraryMessage("Нет игр " + root, "", downloadAddress);
}

std::string NothingToRunMessage(const std::string& game)
{
    return "Нет файла для запуска " + game + "/" + game + ".lvt" + " или sav";
}

} // namespace ostrovik::games
