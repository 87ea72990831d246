// The three download methods against the loopback catalogue.
#include <gtest/gtest.h>

#include <chrono>

#include "CatalogueServer.hpp"
#include "DownloaderRig.hpp"
#include "games/CatalogueDownloader.hpp"
#include "games/GameName.hpp"
#include "games/Http.hpp"

using namespace ostrovik::games;
using Game = CatalogueServer::Game;
using Strings = std::vector<std::string>;

namespace {

/// Game A: screenshots, an .lvt, parts 0 and 2, a description. Game B: no
/// program file at all and no game page. Game C: already in the library.
std::vector<Game> smallCatalogue()
{
    return {{"A", "Игра A", "7", "Описание A", {"screen1.png", "screen2.png", "A.lvt", "A.lv0", "A.lv2"}, true},
            {"B", "Title B", "3", "", {"screen1.png"}, false},
            {"C", "Title C", "5", "C", {"C.lvt"}, true}};
}

struct DownloadRun {
    explicit DownloadRun(const std::string& name, HttpLimits limits = {}) : folder(name), real(limits), http(real) {}
    LibraryFolder folder;
    CurlHttp real;
    CountingHttp http;
    RecordingView view;
    CatalogueDownloader downloader{view, http, folder.root(),
                                   [this](std::function<void()> call) { view.queue.post(std::move(call)); }};
    /// Types @p site into the window and presses the button of @p method.
    void click(int method, const std::string& site)
    {
        view.web = site;
        if (method == 1)
            downloader.downloadPageByPage();
        else if (method == 2)
            downloader.downloadFast();
        else
            downloader.downloadFromJsonList();
    }
    /// The same, and plays the window until the run and its workers end.
    void start(int method, const std::string& site)
    {
        click(method, site);
        ASSERT_TRUE(finish(downloader, view));
    }
};

Strings gameLines(const std::string& base, const std::string& root)
{
    return {base + "A/screen1.png скачан", base + "A/screen2.png скачан", base + "A/A.lvt скачан",
            base + "A/A.lv0 докачан",      base + "A/A.lv2 докачан",      "Рейтинг:" + root + "A/mark.txt    7",
            "Описание:" + root + "A/A.txt"};
}

/// B has nothing to run: its lines say what did not arrive.
Strings gameBLines(const std::string& base)
{
    return {base + "B/screen1.png скачан", base + "B/screen2.png не скачан", base + "B/B.sav не скачан",
            "Игра Title B не скачана !!!"};
}

/// Whether @p part stands in @p whole in its order (other lines between).
bool inOrder(const Strings& whole, const Strings& part)
{
    auto at = whole.begin();
    for (const std::string& line : part) {
        at = std::find(at, whole.end(), line);
        if (at == whole.end())
            return false;
        ++at;
    }
    return true;
}

/// A game of nothing but its tape image.
Game tinyGame(int i)
{
    const std::string name = "g" + std::to_string(i);
    return {name, "T" + std::to_string(i), "1", "", {name + ".lvt"}, false};
}

} // namespace

TEST(Method1, DownloadsGameAfterGameWithTheExactLog)
{
    CatalogueServer server(smallCatalogue());
    DownloadRun run("method1");
    std::filesystem::create_directories(run.folder.root() + "C");
    run.start(1, server.games().substr(0, server.games().size() - 1)); // the "/" comes back

    const std::string base = server.games(), root = run.folder.root();
    Strings expected = {"Пробуем открыть сайт:" + base, "Игр на сайте:3", "Начинаем парсить игры :-) !!!",
                        "Нашли игру Игра A"};
    const Strings a = gameLines(base, root), b = gameBLines(base);
    expected.insert(expected.end(), a.begin(), a.end());
    expected.push_back("Нашли игру Title B");
    expected.insert(expected.end(), b.begin(), b.end());
    for (const char* line : {"Нашли игру Title C", "Игра Title C уже сеть !!!", "Скачали: 1 игр", "Не скачали: 1 игр",
                             "Все !!!"})
        expected.push_back(line);
    EXPECT_EQ(run.view.log, expected);
    EXPECT_EQ(run.view.web, base);
    EXPECT_EQ(run.view.maximum, 50);
    // The gauge ends full after the last page, also with a game that failed.
    EXPECT_EQ(run.view.progress, 50);
    EXPECT_EQ(run.view.buttons, (std::vector<bool>{false, true}));
    EXPECT_TRUE(run.view.errors.empty());

    EXPECT_EQ(run.folder.read("A/A.lvt"), CatalogueServer::fileBody("A", "A.lvt"));
    EXPECT_EQ(run.folder.read("A/A.lv2"), CatalogueServer::fileBody("A", "A.lv2"));
    EXPECT_FALSE(run.folder.has("A/A.sav"));
    EXPECT_FALSE(run.folder.has("A/A.lv1"));
    EXPECT_EQ(run.folder.read("A/A.txt"), "\xC8\xE3\xF0\xE0 A\r\n\xCE\xEF\xE8\xF1\xE0\xED\xE8\xE5 A\r\n");
    EXPECT_EQ(run.folder.read("A/mark.txt"), "7\r\n");
    // Nothing of B, nothing left of its making.
    EXPECT_EQ(run.folder.games(), (Strings{"A", "C"}));
    EXPECT_TRUE(run.folder.filesNamed(".download").empty());
    EXPECT_TRUE(std::filesystem::is_empty(run.folder.root() + "C"));

    // The start page, then the first list page at offset 0 as well.
    const Strings asked = run.http.addresses();
    ASSERT_GE(asked.size(), 2u);
    EXPECT_EQ(asked[0], base + "index.php");
    EXPECT_EQ(asked[1], base + "index.php?start=0");
}

TEST(Method2, WorkersLogThroughTheWindowAndStepTheGauge)
{
    std::vector<Game> games = smallCatalogue();
    games.push_back({"D", "Title D", "2", "", {"D.lvt"}, false});
    CatalogueServer withD(games, {{"delay_ms", 5}});
    DownloadRun run("method2");
    // Unchecked: C, already there, is fetched again. D's mark.txt cannot be
    // put in place, so its worker ends quietly.
    std::filesystem::create_directories(run.folder.root() + "C");
    std::filesystem::create_directories(run.folder.root() + "D/mark.txt");
    run.view.skip = false;
    run.start(2, withD.games());

    const std::string base = withD.games(), root = run.folder.root();
    const Strings& log = run.view.log;
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "Пробуем открыть сайт:" + base);
    EXPECT_EQ(run.view.maximum, 4);
    EXPECT_TRUE(inOrder(log, {"Нашли игру Игра A", "Нашли игру Title B", "Нашли игру Title C", "Нашли игру Title D",
                              "Создано 4 потоков скачивания", "ЖДЕМ .........."}));
    EXPECT_TRUE(inOrder(log, gameLines(base, root)));
    EXPECT_TRUE(inOrder(log, {base + "B/screen1.png скачан", base + "B/screen2.png не скачан",
                              base + "B/B.sav не скачан", "Игра Title B не скачана !!!"}));
    EXPECT_TRUE(inOrder(log, {base + "D/screen1.png не скачан", base + "D/D.lvt скачан"}));
    for (const std::string& line : log)
        EXPECT_EQ(line.find("D/mark.txt"), std::string::npos) << line;
    // A and C arrived, B did not, D ended quietly: each worker stepped once.
    EXPECT_EQ(run.view.progress, 4);
    EXPECT_FALSE(run.folder.has("B"));
    EXPECT_EQ(std::count(log.begin(), log.end(), "Создано 4 потоков скачивания"), 1);
    EXPECT_EQ(run.folder.read("C/C.lvt"), CatalogueServer::fileBody("C", "C.lvt"));
}

TEST(Method2, CountsGaugeAndSkippedGames)
{
    std::vector<Game> games;
    for (int i = 0; i < 123; ++i)
        games.push_back(tinyGame(i));
    CatalogueServer server(games);
    DownloadRun run("method2-123");
    for (int i = 100; i < 123; ++i)
        std::filesystem::create_directories(run.folder.root() + "g" + std::to_string(i));
    run.start(2, server.games());
    const Strings& log = run.view.log;
    EXPECT_EQ(log[1], "Игр на сайте:123");
    EXPECT_EQ(run.view.maximum, 123);
    EXPECT_EQ(run.view.progress, 100);
    EXPECT_TRUE(inOrder(log, {"Создано 100 потоков скачивания", "ЖДЕМ .........."}));
    EXPECT_EQ(std::count(log.begin(), log.end(), "Начинаем парсить игры :-) !!!"), 3);

    // Everything in the library now: no worker at all.
    DownloadRun again("method2-all");
    for (int i = 0; i < 123; ++i)
        std::filesystem::create_directories(again.folder.root() + "g" + std::to_string(i));
    again.start(2, server.games());
    const Strings& last = again.view.log;
    ASSERT_GE(last.size(), 2u);
    EXPECT_EQ(Strings(last.end() - 2, last.end()), (Strings{"Создано 0 потоков скачивания", "ЖДЕМ .........."}));
    EXPECT_EQ(again.downloader.unfinishedWorkers(), 0u);
}

TEST(Method2, EveryEndedWorkerStepsTheGaugeOnce)
{
    // g2, g5 and g8 have nothing to run; g7 is in the library already with
    // a folder where its mark.txt goes, so it cannot be put in place.
    std::vector<Game> games;
    for (int i = 0; i < 10; ++i)
        games.push_back(tinyGame(i));
    for (int i : {2, 5, 8})
        games[static_cast<std::size_t>(i)].files.clear();
    struct Case {
        const char* name;
        nlohmann::json site;
        int maximum;
        long notFetched; ///< games logged as not fetched
    };
    const Case cases[] = {
        {"some games fail", nlohmann::json::object(), 10, 3},
        // More games announced than listed: a second step would show.
        {"announced 30", {{"count", "30"}}, 30, 3},
        // Silent after the start page and the list page.
        {"the site stops answering", {{"answer_limit", 2}}, 10, 10},
    };
    for (const Case& c : cases) {
        CatalogueServer server(games, c.site);
        HttpLimits quick;
        quick.lowSpeedSeconds = 1;
        DownloadRun run("gauge", quick);
        std::filesystem::create_directories(run.folder.root() + "g7/mark.txt");
        run.view.skip = false;
        run.start(2, server.games());
        const Strings& log = run.view.log;
        EXPECT_EQ(run.view.maximum, c.maximum) << c.name;
        EXPECT_EQ(std::count_if(log.begin(), log.end(),
                                [](const std::string& l) { return l.ends_with(" не скачана !!!"); }),
                  c.notFetched)
            << c.name;
        EXPECT_EQ(run.view.progress, 10) << c.name;
    }
}

TEST(Method1, WholePagesAndFailedStarts)
{
    struct Case {
        nlohmann::json site;
        int maximum;
        int listPages;
        Strings tail;
    };
    const std::string invalidUtf8 = "c8e3f0e00a";
    const Case cases[] = {
        {{{"count", "123"}}, 150, 3, {"Скачали: 0 игр", "Все !!!"}},
        {{{"count", "600"}}, 600, 12, {"Все !!!"}},
        {{{"count", "601"}}, 601, 13, {"Все !!!"}},
        {{{"count", "  0"}}, 100, 0,
         {"Не могу прочитать количество игр на сайте, возможно нет связи с сервером !!!"}},
        {{{"raw", {{"/games/index.php", {{"body_hex", invalidUtf8}}}}}}, 100, 0, {"Не могу открыть сайт !!!"}},
        {{{"raw", {{"/games/index.php", {{"status", 404}, {"body", ""}}}}}}, 100, 0, {"Не могу открыть сайт !!!"}},
        {{{"count", "9"}, {"raw", {{"/games/index.php?start=0", {{"body_hex", invalidUtf8}}}}}}, 50, 1,
         {"Игр на сайте:9", "Не могу открыть сайт !!!"}},
    };
    for (const Case& c : cases) {
        CatalogueServer server({}, c.site);
        DownloadRun run("pages");
        run.start(1, server.games());
        const Strings& log = run.view.log;
        ASSERT_GE(log.size(), c.tail.size()) << c.site.dump();
        EXPECT_EQ(Strings(log.end() - static_cast<long>(c.tail.size()), log.end()), c.tail) << c.site.dump();
        EXPECT_EQ(run.view.maximum, c.maximum) << c.site.dump();
        const Strings asked = run.http.addresses();
        const auto pages = std::count_if(asked.begin(), asked.end(),
                                         [](const std::string& a) { return a.find("index.php?start=") != a.npos; });
        EXPECT_EQ(pages, c.listPages) << c.site.dump();
        if (c.listPages > 1) {
            EXPECT_EQ(asked.back(), server.games() + "index.php?start=" + std::to_string(50 * (c.listPages - 1)));
        }
    }
    CatalogueServer bad({}, {{"count", "1x"}});
    DownloadRun run("badcount");
    run.start(1, bad.games());
    EXPECT_EQ(run.view.errors, Strings{"'1x' is not a valid integer value"});
}

TEST(AllMethods, NamesThatWouldLeaveTheLibraryAreRefused)
{
    // A name too long for its files' names ends nothing but its own game;
    // the longest name taken is fetched whole.
    const std::string tooLong(300, 'L'), longest(251, 'M');
    const std::vector<Game> games = {{"../x", "Up", "1", "d", {"screen1.png"}, true},
                                     {"a/b", "Slash", "1", "d", {}, true},
                                     {"/abs", "Absolute", "1", "d", {}, true},
                                     {"..", "Parent", "1", "d", {}, true},
                                     {tooLong, "Long", "1", "d", {tooLong + ".lvt"}, true},
                                     {"Space Game", "Spaced", "4", "About", {"Space Game.lvt"}, true},
                                     {"ok#1", "Hash", "2", "", {"ok#1.lvt"}, false},
                                     {longest, "Longest", "3", "", {longest + ".lvt"}, false}};
    nlohmann::json list = nlohmann::json::array(
        {{{"Name", "../y"}, {"FullName", "Up"}}, {{"Name", "a\\b"}, {"FullName", "Back"}},
         {{"Name", std::string("n\0ul", 4)}, {"FullName", "Nul"}}, {{"Name", tooLong}, {"FullName", "Long"}},
         {{"Name", "ok#1"}, {"FullName", "Hash"}}, {{"Name", longest}, {"FullName", "Longest"}}});
    CatalogueServer server(games, {{"json", list.dump()}});
    for (int method : {1, 2, 3}) {
        DownloadRun run("refused" + std::to_string(method));
        run.view.json = server.address("/games/list.php");
        run.view.skip = method != 3;
        run.start(method, server.games());
        const Strings& log = run.view.log;
        const Strings refused = method == 3 ? Strings{"../y", "a\\b", std::string("n\0ul", 4), tooLong}
                                            : Strings{"../x", "a/b", "/abs", tooLong};
        for (const std::string& name : refused)
            EXPECT_EQ(std::count(log.begin(), log.end(), refusedNameLine(name)), 1) << method << " " << name;
        // Nothing beside the library, nothing in it but the good game.
        for (const auto& e : std::filesystem::directory_iterator(run.folder.dir()))
            EXPECT_EQ(e.path().filename(), "GAMES_SOFT") << method;
        for (const auto& e : std::filesystem::directory_iterator(run.folder.dir() / "GAMES_SOFT"))
            EXPECT_EQ(e.path().filename(), "offline") << method;
        for (const std::string& line : log)
            EXPECT_EQ(line.find(tooLong + ".lvt"), std::string::npos) << method;
        EXPECT_TRUE(run.folder.has("ok#1/ok#1.lvt")) << method;
        EXPECT_EQ(run.folder.read(longest + "/" + longest + ".lvt"), CatalogueServer::fileBody(longest, longest + ".lvt"))
            << method;
        if (method != 3) {
            // ".." exists as a folder, and is refused all the same.
            EXPECT_EQ(std::count(log.begin(), log.end(), refusedNameLine("..")), 1) << method;
            // A blank in the name reaches the server escaped.
            EXPECT_EQ(run.folder.read("Space Game/Space Game.lvt"),
                      CatalogueServer::fileBody("Space Game", "Space Game.lvt"))
                << method;
            EXPECT_EQ(run.folder.read("Space Game/Space Game.txt"), "Spaced\r\nAbout\r\n") << method;
        }
    }
}

TEST(Method3, TheJsonList)
{
    struct Case {
        std::string name;
        std::string json;
        bool skip;
        Strings after;  ///< the log after the JSON line
        int progress;
    };
    const std::string announced = "3";
    const std::vector<Case> cases = {
        {"empty", "[]", true, {"Все !!!"}, 0},
        {"object", R"({"Name":"x"})", true, {}, 0},
        {"not json", "<html>", true, {}, 0},
        // An empty name names the library itself: refused before any skip.
        {"missing name", R"([{"FullName":"Nameless"}])", true, {refusedNameLine(""), "Все !!!"}, 0},
        {"five of three",
         R"([{"Name":"j1"},{"Name":"j2"},{"Name":"j3"},{"Name":"j4"},{"Name":"j5"}])", true, {}, 3},
    };
    for (const Case& c : cases) {
        CatalogueServer server({}, {{"count", announced}, {"json", c.json}});
        DownloadRun run("json");
        run.view.json = server.address("/games/list.php");
        run.view.skip = c.skip;
        run.start(3, server.games());
        const Strings& log = run.view.log;
        ASSERT_GE(log.size(), 3u) << c.name;
        EXPECT_EQ(Strings(log.begin(), log.begin() + 3),
                  (Strings{"Пробуем открыть сайт:" + server.games(), "Игр на сайте:3",
                           "Начинаем парсить JSON по ссылке: " + run.view.json}))
            << c.name;
        if (c.name != "five of three") {
            EXPECT_EQ(Strings(log.begin() + 3, log.end()), c.after) << c.name;
        }
        EXPECT_EQ(run.view.maximum, 3) << c.name;
        EXPECT_EQ(run.view.progress, c.progress) << c.name;
        EXPECT_EQ(run.view.buttons, (std::vector<bool>{false, true})) << c.name;
    }
}

TEST(Method3, MembersAsTextAndTheFileSteps)
{
    // L has nothing to run on the site.
    const nlohmann::json list = nlohmann::json::array(
        {{{"Name", "J"}, {"FullName", "Игра J"}, {"Description", "Про J"}, {"Mark", 7}},
         {{"Name", "K"}, {"FullName", "K"}, {"Description", "k"}},
         {{"Name", "L"}, {"FullName", "Игра L"}, {"Mark", 1}}});
    CatalogueServer server({{"J", "", "", "", {"screen1.png", "screen2.png", "J.sav", "J.lv6"}, false},
                            {"K", "", "", "", {"K.lvt"}, false}},
                           {{"count", "2"}, {"json", list.dump()}});
    DownloadRun run("json-files");
    run.view.json = server.address("/games/list.php");
    run.start(3, server.games());
    const std::string base = server.games(), root = run.folder.root();
    const Strings expected = {"Пробуем открыть сайт:" + base,
                              "Игр на сайте:2",
                              "Начинаем парсить JSON по ссылке: " + run.view.json,
                              base + "J/screen1.png скачан",
                              base + "J/screen2.png скачан",
                              base + "J/J.sav скачан",
                              base + "J/J.lv6 докачан",
                              "Описание:" + root + "J/J.txt",
                              "Оценка:" + root + "J/mark.txt",
                              base + "K/screen1.png не скачан",
                              base + "K/screen2.png не скачан",
                              base + "K/K.lvt скачан",
                              "Описание:" + root + "K/K.txt",
                              "Оценка:" + root + "K/mark.txt",
                              base + "L/screen1.png не скачан",
                              base + "L/screen2.png не скачан",
                              base + "L/L.sav не скачан",
                              "Игра Игра L не скачана !!!",
                              "Не скачали: 1 игр",
                              "Все !!!"};
    EXPECT_EQ(run.view.log, expected);
    EXPECT_EQ(run.folder.games(), (Strings{"J", "K"}));
    EXPECT_EQ(run.folder.read("J/mark.txt"), "7\r\n");
    EXPECT_EQ(run.folder.read("K/mark.txt"), "\r\n");
    EXPECT_EQ(run.folder.read("J/J.txt"), "\xC8\xE3\xF0\xE0 J\r\n\xCF\xF0\xEE J\r\n");
    EXPECT_EQ(run.folder.read("J/J.sav"), CatalogueServer::fileBody("J", "J.sav"));

    // A list that cannot be fetched is an error; a start page that is not there has its own line.
    DownloadRun failed("json-failed");
    failed.view.json = "http://127.0.0.1:1/list.php";
    failed.start(3, server.games());
    ASSERT_EQ(failed.view.errors.size(), 1u);
    EXPECT_NE(failed.view.errors[0].find("127.0.0.1:1/list.php"), std::string::npos);
    DownloadRun noSite("json-nosite");
    noSite.start(3, "http://127.0.0.1:1/games/");
    EXPECT_EQ(noSite.view.log.back(), "Не могу открыть ссылку !!!");
}

TEST(AllMethods, AServerThatStopsAnsweringMidWay)
{
    // A arrives whole; the server then stops answering inside B.
    const std::vector<Game> games = {CatalogueServer::plainGame("A"), CatalogueServer::plainGame("B")};
    struct Case {
        int method;
        int answers;      ///< answered before the server goes quiet
        Strings lastOfB;  ///< B's last lines; "@" stands for the site's address
    };
    const int files = 2 + 1 + 7; // the screenshots, the .lvt and the seven parts
    const Case cases[] = {
        // Inside B's .lvt, then inside its page.
        {1, 2 + files + 1 + 2, {"@B/screen2.png скачан", "@B/B.lvt не скачан", "Игра Title B не скачана !!!"}},
        {1, 2 + files + 1 + files, {"@B/B.lvt скачан", "@page.php?name=B не скачан", "Игра Title B не скачана !!!"}},
        // Inside a tape part, which is not taken for a part the site lacks.
        {3, 2 + files + 3 + 2, {"@B/B.lvt скачан", "@B/B.lv2 не скачан", "Игра Title B не скачана !!!"}},
    };
    for (const Case& c : cases) {
        CatalogueServer server(games, {{"answer_limit", c.answers}});
        HttpLimits quick;
        quick.lowSpeedSeconds = 1;
        DownloadRun run("quiet" + std::to_string(c.method), quick);
        run.view.json = server.address("/games/list.php");
        run.start(c.method, server.games());
        const Strings& log = run.view.log;
        Strings expected;
        for (const std::string& line : c.lastOfB)
            expected.push_back(line[0] == '@' ? server.games() + line.substr(1) : line);
        if (c.method == 1)
            expected.insert(expected.end(), {"Скачали: 1 игр", "Не скачали: 1 игр", "Все !!!"});
        else
            expected.insert(expected.end(), {"Не скачали: 1 игр", "Все !!!"});
        ASSERT_GE(log.size(), expected.size()) << c.answers;
        EXPECT_EQ(Strings(log.end() - static_cast<long>(expected.size()), log.end()), expected) << c.answers;
        for (const std::string& line : log)
            EXPECT_EQ(line.find("B/mark.txt"), std::string::npos) << line;
        EXPECT_EQ(run.folder.games(), Strings{"A"}) << c.answers;
        EXPECT_TRUE(run.folder.filesNamed(".download").empty()) << c.answers;
        EXPECT_TRUE(run.folder.filesNamed(".part").empty()) << c.answers;
    }
}

TEST(AllMethods, AnAnswerThatBreaksOffBringsNothing)
{
    // A arrives whole; one answer then breaks off inside its head, or after
    // half the body its Content-Length announces: B's program, B's page, or
    // the JSON list.
    const std::vector<Game> games = {CatalogueServer::plainGame("A"), CatalogueServer::plainGame("B")};
    const Strings programCut = {"@B/screen2.png скачан", "@B/B.lvt не скачан", "Игра Title B не скачана !!!"};
    const Strings pageCut = {"@B/B.lvt скачан", "@page.php?name=B не скачан", "Игра Title B не скачана !!!"};
    struct Case {
        int method;
        const char* target;
        Strings linesOfB; ///< "@" stands for the site's address; none: the list broke off
    };
    const Case cases[] = {
        {1, "/games/B/B.lvt", programCut},         {2, "/games/B/B.lvt", programCut},
        {3, "/games/B/B.lvt", programCut},         {1, "/games/page.php?name=B", pageCut},
        {3, "/games/list.php", {}},
    };
    for (const char* cut : {"head", "body"}) {
        for (const Case& c : cases) {
            const std::string what = std::string(cut) + " " + std::to_string(c.method) + " " + c.target;
            CatalogueServer server(games, {{"cut", {{c.target, cut}}}});
            DownloadRun run("broken" + std::to_string(c.method));
            run.view.json = server.address("/games/list.php");
            run.start(c.method, server.games());
            const Strings& log = run.view.log;
            EXPECT_TRUE(run.folder.filesNamed(".download").empty()) << what;
            EXPECT_TRUE(run.folder.filesNamed(".part").empty()) << what;
            if (c.linesOfB.empty()) {
                // As a list that cannot be fetched at all: an error box, no game.
                ASSERT_EQ(run.view.errors.size(), 1u) << what;
                EXPECT_NE(run.view.errors[0].find(run.view.json), std::string::npos) << run.view.errors[0];
                EXPECT_EQ(std::count(log.begin(), log.end(), "Все !!!"), 0) << what;
                EXPECT_TRUE(run.folder.games().empty()) << what;
                continue;
            }
            Strings expected;
            for (const std::string& line : c.linesOfB)
                expected.push_back(line[0] == '@' ? server.games() + line.substr(1) : line);
            EXPECT_TRUE(inOrder(log, expected)) << what;
            if (c.linesOfB == programCut) {
                EXPECT_EQ(std::count(log.begin(), log.end(), server.games() + "B/B.lvt скачан"), 0) << what;
            }
            // The run counts A alone.
            if (c.method == 1) {
                EXPECT_TRUE(inOrder(log, {"Скачали: 1 игр", "Не скачали: 1 игр", "Все !!!"})) << what;
            }
            if (c.method == 3) {
                EXPECT_TRUE(inOrder(log, {"Не скачали: 1 игр", "Все !!!"})) << what;
            }
            EXPECT_TRUE(run.view.errors.empty()) << what;
            EXPECT_EQ(run.folder.games(), Strings{"A"}) << what;
        }
    }
}

TEST(AllMethods, EndingTheProgramAbortsTheTransferAndLeavesNoHalfGame)
{
    const std::vector<Game> games = {CatalogueServer::plainGame("A"), CatalogueServer::plainGame("B")};
    struct Case {
        int method;
        int answers;      ///< answered before the server holds every request
        std::string busy; ///< the log line after which a transfer hangs
    };
    const Case cases[] = {{1, 2 + 3, "A/A.lvt скачан"}, {2, 2, "ЖДЕМ .........."}, {3, 2 + 3, "A/A.lvt скачан"}};
    for (const Case& c : cases) {
        CatalogueServer server(games, {{"answer_limit", c.answers}});
        // No transfer ends on its own: only the stop can end this test.
        HttpLimits patient;
        patient.connectSeconds = 3600;
        patient.lowSpeedSeconds = 3600;
        patient.totalSeconds = 3600;
        DownloadRun run("stop" + std::to_string(c.method), patient);
        run.view.json = server.address("/games/list.php");
        run.click(c.method, server.games());
        const std::string busy = c.method == 2 ? c.busy : server.games() + c.busy;
        while (std::find(run.view.log.begin(), run.view.log.end(), busy) == run.view.log.end())
            run.view.queue.waitAndDrain(std::chrono::milliseconds(10));
        ASSERT_TRUE(run.downloader.running() || run.downloader.unfinishedWorkers() > 0);

        run.real.stop();
        run.downloader.stop();
        const std::size_t lines = run.view.log.size();
        run.view.queue.drain();
        EXPECT_EQ(run.view.log.size(), lines) << c.method;
        EXPECT_FALSE(run.downloader.running()) << c.method;
        EXPECT_EQ(run.downloader.unfinishedWorkers(), 0u) << c.method;
        EXPECT_TRUE(run.folder.games().empty()) << c.method;
        EXPECT_TRUE(run.folder.filesNamed(".download").empty()) << c.method;
        EXPECT_TRUE(run.folder.filesNamed(".part").empty()) << c.method;
    }
}
