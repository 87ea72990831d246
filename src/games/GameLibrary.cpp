#include "games/GameLibrary.hpp"

#include <filesystem>

#include "games/CataloguePage.hpp"
#include "platform/Cp1251.hpp"
#include "platform/Integers.hpp"
#include "platform/RegularFile.hpp"
#include "platform/WholeFile.hpp"

namespace ostrovik::games {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kBreak = "\n\r";
// The Russian caption of the download menu item, which the messages quote.
constexpr std::string_view kDownloadItem = "Скачать игры с  ";

/// At most kQuotedBytes of UTF-8 @p text, cut between characters, with a
/// mark when something was left out.
std::string quoted(const std::string& text)
{
    if (text.size() <= kQuotedBytes)
        return text;
    std::size_t end = kQuotedBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end) + "…";
}

} // namespace

std::string libraryRoot(const std::string& programDir)
{
    return programDir + "/GAMES_SOFT/offline/";
}

std::vector<std::string> gamesInLibrary(const std::string& root)
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

std::uint16_t countGames(const std::string& root)
{
    return static_cast<std::uint16_t>(gamesInLibrary(root).size());
}

std::string deleteUselessSpaces(std::string s)
{
    std::erase(s, ' ');
    return s;
}

Rating parseRating(const std::string& firstLine)
{
    Rating r;
    if (firstLine.empty() || firstLine == "0")
        return r;
    const std::string text = deleteUselessSpaces(firstLine);
    const std::optional<std::int32_t> value = platform::parseInteger(text);
    if (!value) {
        r.error = platform::invalidIntegerMessage(quoted(text));
        return r;
    }
    r.clear = false;
    r.mark = static_cast<std::uint8_t>(static_cast<std::uint32_t>(*value) & 0xFF);
    return r;
}

StarLayout layoutStars(std::uint8_t mark)
{
    const int m = mark > 10 ? 10 : mark;
    StarLayout layout;
    layout.fullStars = m / 2;
    if (m % 2)
        layout.halfStarX = kStarWidth * layout.fullStars;
    return layout;
}

std::optional<std::string> runnableFile(const std::string& root, const std::string& game)
{
    std::error_code ec;
    for (const char* ext : {".lvt", ".sav"}) {
        const std::string path = root + game + "/" + game + ext;
        if (fs::is_regular_file(path, ec))
            return path;
    }
    return std::nullopt;
}

GameFile readGameFile(const std::string& path, std::size_t maxBytes, bool keepStart)
{
    using platform::FileReadStatus;
    platform::FileRead read = platform::readRegularFile(
        path, maxBytes, keepStart ? platform::WhenLonger::KeepPrefix : platform::WhenLonger::Refuse);
    GameFile file;
    std::error_code ec;
    if (read.status == FileReadStatus::Missing
        || (read.status == FileReadStatus::NotRegular && fs::is_directory(path, ec)))
        return file;
    if (!read.ok()) {
        file.state = GameFile::State::Failed;
        file.reason = read.reason;
        return file;
    }
    file.state = GameFile::State::Read;
    file.bytes = std::move(read.bytes);
    file.cut = read.status == FileReadStatus::Truncated;
    return file;
}

std::vector<std::string> textLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    for (const std::string& line : splitLines(bytes))
        lines.push_back(platform::cp1251ToUtf8(line));
    return lines;
}

Rating ratingOfMarkFile(std::string_view bytes, bool cut)
{
    const std::size_t end = bytes.find_first_of("\r\n");
    if (cut && end == std::string_view::npos) {
        Rating r;
        r.error = platform::invalidIntegerMessage(quoted(deleteUselessSpaces(platform::cp1251ToUtf8(bytes))));
        return r;
    }
    return parseRating(platform::cp1251ToUtf8(bytes.substr(0, end)));
}

bool writeTextLines(const std::string& path, const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines)
        bytes += platform::utf8ToCp1251(line) + "\r\n";
    // Whole or not at all, its closing judged too, and never waiting for a
    // reader of whatever may stand under the name.
    return platform::writeWholeFile(path, bytes).ok;
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

std::string rootMissingMessage(const std::string& root, std::string_view downloadAddress)
{
    return libraryMessage("Нет каталога " + root, "создаю каталог , ", downloadAddress);
}

std::string noGamesMessage(const std::string& root, std::string_view downloadAddress)
{
    return libraryMessage("Нет игр " + root, "", downloadAddress);
}

std::string nothingToRunMessage(const std::string& game)
{
    return "Нет файла для запуска " + game + "/" + game + ".lvt" + " или sav";
}

} // namespace ostrovik::games
