// The HTTP layer against a real server on loopback.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "CatalogueServer.hpp"
#include "games/Http.hpp"
#include "games/JsonList.hpp"

using namespace ostrovik::games;
namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

fs::path freshDir(const char* name)
{
    const fs::path dir = fs::temp_directory_path() / (std::string("ostrovik-http-") + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string hexOf(const std::string& bytes)
{
    static const char* digits = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

} // namespace

TEST(UrlHost, TakesTheHostAsTheThreeStepsSay)
{
    struct Case {
        const char* address;
        const char* host;
        const char* request;
    };
    const Case cases[] = {
        {"http://localhost/games/index.php", "localhost", "http://localhost/games/index.php"},
        {"localhost/games/", "localhost", "http://localhost/games/"},
        // "http://" inside the address: the first seven characters go all the same.
        {"[link]http://site/page", "ttp:", "http://ttp://site/page"},
        {"https://site/x", "https:", "http://https://site/x"},
        {"http://127.0.0.1:8080/games/list.php", "127.0.0.1:8080", "http://127.0.0.1:8080/games/list.php"},
        {"http://hostonly", "hostonly", "http://hostonly/"},
        {"/leading/slash", "/leading/slash", "http:///leading/slash/"},
        {"", "", "http:///"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UrlHost(c.address), c.host) << c.address;
        EXPECT_EQ(RequestAddress(c.address), c.request) << c.address;
    }
}

TEST(HttpGetText, ZeroByteEndsOnlyItsOwnPiece)
{
    struct Case {
        std::string raw, kept;
    };
    const std::string a(1024, 'a'), b(1024, 'b');
    const Case cases[] = {
        {"", ""},
        {"abc", "abc"},
        {std::string("ab\0cd", 5), "ab"},
        {a + std::string("bb\0bb", 5) + "c", a + "bb"},
        {std::string("\0", 1) + a.substr(1) + b, b},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeepPiecesToZero(c.raw), c.kept);
}

TEST(HttpGetText, AnswersOfTheLoopbackServer)
{
    std::string longBody;
    for (int i = 0; longBody.size() < 5000; ++i)
        longBody += std::to_string(i) + ",";
    const std::string zeroBody = std::string(1000, 'x') + std::string("\0zz", 3) + std::string(21, 'y') + "tail";
    CatalogueServer server({}, {{"raw",
                                 {{"/long", {{"body", longBody}}},
                                  {"/zero", {{"body_hex", hexOf(zeroBody)}}},
                                  {"/missing", {{"status", 404}, {"body", "not here"}}}}}});
    CurlHttp http;
    EXPECT_EQ(http.HttpGetText(server.address("/long")), longBody);
    EXPECT_EQ(http.HttpGetText(server.address("/zero")), std::string(1000, 'x') + "tail");
    EXPECT_EQ(http.HttpGetText(server.address("/missing")), "not here");

    const std::string echo = http.HttpGetText(server.address("/echo"));
    for (const char* line : {"GET /echo HTTP/1.0\n", "User-Agent: VADA\n", "Accept: text/*\n",
                             "Cache-Control: no-cache\n", "Pragma: no-cache\n",
                             "Content-Type: application/x-www-form-urlencoded\n"})
        EXPECT_NE(echo.find(line), std::string::npos) << line << " in\n" << echo;

    // Nothing listens there, or the scheme is not ours: an empty text.
    EXPECT_EQ(http.HttpGetText("http://127.0.0.1:1/x"), "");
    EXPECT_EQ(http.HttpGetText("https://127.0.0.1:" + std::to_string(server.port()) + "/long"), "");
}

TEST(DownloadFile, TrueOnlyForAWholeAnswerAndNeverLeavesAHalfFile)
{
    CatalogueServer server({{"g", "G", "1", "", {"g.lvt"}, false}},
                           {{"raw", {{"/missing", {{"status", 404}, {"body", "not here"}}}}}});
    CurlHttp http;
    const fs::path dir = freshDir("download");
    const fs::path target = dir / "g.lvt";

    struct Case {
        std::string path;
        bool arrives;
    };
    const Case cases[] = {
        {"/games/g/g.lvt", true}, {"/missing", false}, {"/cut", false}, {"/games/g/none.lvt", false}};
    for (const Case& c : cases) {
        const bool got = http.DownloadFile(server.address(c.path), target.string());
        EXPECT_EQ(got, c.arrives) << c.path;
        // A failure keeps the good file fetched before, and nothing beside it.
        EXPECT_EQ(readFile(target), CatalogueServer::fileBody("g", "g.lvt")) << c.path;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << c.path;
    }
    fs::remove(target);
    EXPECT_FALSE(http.DownloadFile(server.address("/missing"), target.string()));
    EXPECT_FALSE(fs::exists(target));
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST(HttpLimits, AServerThatNeverAnswersFailsWithinTheTimeOut)
{
    CatalogueServer server({});
    CurlHttp http(HttpLimits{2, 1});
    const fs::path dir = freshDir("hang");
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(http.HttpGetText(server.address("/hang")), "");
    EXPECT_FALSE(http.DownloadFile(server.address("/hang"), (dir / "f").string()));
    EXPECT_FALSE(http.requestText(server.address("/hang")).ok);
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_LT(took, std::chrono::seconds(9));
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST(HttpStop, StoppedLayerFailsAtOnce)
{
    CatalogueServer server({}, {{"raw", {{"/page", {{"body", "page"}}}}}});
    CurlHttp http;
    ASSERT_EQ(http.HttpGetText(server.address("/page")), "page");
    http.stop();
    EXPECT_EQ(http.HttpGetText(server.address("/page")), "");
    EXPECT_FALSE(http.DownloadFile(server.address("/page"), (freshDir("stop") / "f").string()));
}

TEST(RequestText, DecodesByTheAnswersCharacterSet)
{
    CatalogueServer server({}, {{"raw",
                                 {{"/utf8", {{"body", "Игра"}, {"content_type", "application/json; charset=utf-8"}}},
                                  {"/cp1251", {{"body_hex", "c8e3f0e0"}, {"content_type", "text/plain; charset=windows-1251"}}},
                                  {"/latin1", {{"body_hex", "e9"}, {"content_type", "text/plain; charset=ISO-8859-1"}}},
                                  {"/none", {{"body", "Игра"}, {"content_type", "application/json"}}}}}});
    CurlHttp http;
    for (const char* path : {"/utf8", "/cp1251", "/none"}) {
        const HttpAnswer a = http.requestText(server.address(path));
        ASSERT_TRUE(a.ok) << path;
        EXPECT_EQ(DecodeByCharset(a.body, a.contentType), "Игра") << path;
    }
    const HttpAnswer latin = http.requestText(server.address("/latin1"));
    EXPECT_EQ(DecodeByCharset(latin.body, latin.contentType), "é");
    const HttpAnswer refused = http.requestText("http://127.0.0.1:1/list.php");
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.error.find("127.0.0.1:1/list.php"), std::string::npos) << refused.error;
}
