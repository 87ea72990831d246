// The HTTP layer against a real server on loopback.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>

#include "CatalogueServer.hpp"
#include "support/TempFolder.hpp"
#include "games/Http.hpp"
#include "games/JsonList.hpp"

using namespace ostrovik::games;
using ostrovik::test::TempFolder;
namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
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
        EXPECT_EQ(urlHost(c.address), c.host) << c.address;
        EXPECT_EQ(requestAddress(c.address), c.request) << c.address;
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
        EXPECT_EQ(keepPiecesToZero(c.raw), c.kept);
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
    EXPECT_EQ(http.httpGetText(server.address("/long")), longBody);
    EXPECT_EQ(http.httpGetText(server.address("/zero")), std::string(1000, 'x') + "tail");
    EXPECT_EQ(http.httpGetText(server.address("/missing")), "not here");

    const std::string echo = http.httpGetText(server.address("/echo"));
    for (const char* line : {"GET /echo HTTP/1.0\n", "User-Agent: VADA\n", "Accept: text/*\n",
                             "Cache-Control: no-cache\n", "Pragma: no-cache\n",
                             "Content-Type: application/x-www-form-urlencoded\n"})
        EXPECT_NE(echo.find(line), std::string::npos) << line << " in\n" << echo;

    // Nothing listens there, or the scheme is not ours: an empty text.
    EXPECT_EQ(http.httpGetText("http://127.0.0.1:1/x"), "");
    EXPECT_EQ(http.httpGetText("https://127.0.0.1:" + std::to_string(server.port()) + "/long"), "");
}

TEST(DownloadFile, TrueOnlyForAWholeAnswerAndNeverLeavesAHalfFile)
{
    CatalogueServer server({{"g", "G", "1", "", {"g.lvt"}, false}},
                           {{"raw", {{"/missing", {{"status", 404}, {"body", "not here"}}}}}});
    CurlHttp http;
    const TempFolder folder("http-download");
    const fs::path& dir = folder.path();
    const fs::path target = dir / "g.lvt";

    struct Case {
        std::string path;
        bool arrives;
    };
    const Case cases[] = {
        {"/games/g/g.lvt", true}, {"/missing", false}, {"/cut", false}, {"/games/g/none.lvt", false}};
    for (const Case& c : cases) {
        const bool got = http.downloadFile(server.address(c.path), target.string());
        EXPECT_EQ(got, c.arrives) << c.path;
        // A failure keeps the good file fetched before, and nothing beside it.
        EXPECT_EQ(readFile(target), CatalogueServer::fileBody("g", "g.lvt")) << c.path;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << c.path;
    }
    fs::remove(target);
    EXPECT_FALSE(http.downloadFile(server.address("/missing"), target.string()));
    EXPECT_FALSE(fs::exists(target));
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST(HttpLimits, ASilentDrippingOrEndlessServerFailsEveryTransfer)
{
    // 5 bytes a second is under the low-speed limit; 500 a second is above
    // it but never ends, so the overall cap stops it.
    CatalogueServer server({}, {{"raw",
                                 {{"/drip", {{"stream", {{"piece", "x"}, {"every_ms", 200}}}}},
                                  {"/steady", {{"stream", {{"piece", std::string(50, 'y')}, {"every_ms", 100}}}}}}}});
    // Each limit far from the other, so that a busy machine cannot make the
    // other one strike first.
    CurlHttp crawling(HttpLimits{2, 1, 100, 60});
    CurlHttp endless(HttpLimits{2, 60, 100, 2});
    const TempFolder dir("http-slow");
    struct Case {
        const char* path;
        CurlHttp& http;
        const char* why;
    };
    const Case cases[] = {
        {"/hang", crawling, "too slow"}, {"/drip", crawling, "too slow"}, {"/steady", endless, "timed out"}};
    // The calls stand alone, so all of them run at once.
    std::vector<std::future<HttpAnswer>> answers;
    std::vector<std::future<bool>> files;
    std::vector<std::future<std::string>> pages;
    for (const Case& c : cases) {
        const std::string address = server.address(c.path);
        CurlHttp& http = c.http;
        answers.push_back(std::async(std::launch::async, [&http, address] { return http.requestText(address); }));
        files.push_back(std::async(std::launch::async, [&http, &dir, address, c] {
            return http.downloadFile(address, (dir / (c.path + 1)).string());
        }));
        pages.push_back(std::async(std::launch::async, [&http, address] { return http.httpGetText(address); }));
    }
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const HttpAnswer answer = answers[i].get();
        EXPECT_FALSE(answer.ok) << cases[i].path;
        EXPECT_NE(answer.error.find(cases[i].why), std::string::npos) << answer.error;
        EXPECT_FALSE(files[i].get()) << cases[i].path;
        // A page cut part-way is no page.
        EXPECT_EQ(pages[i].get(), "") << cases[i].path;
    }
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(HttpLimits, AnAnswerOverItsLimitIsRefusedAndLeavesNothing)
{
    CatalogueServer server({}, {{"raw",
                                 {{"/endless", {{"stream", {{"piece", std::string(4096, 'z')}}}}},
                                  {"/announced", {{"stream", {{"piece", "z"}, {"every_ms", 100}, {"length", 1 << 30}}}}},
                                  {"/limit", {{"body", std::string(1000, 'a')}}},
                                  {"/between", {{"body", std::string(1800, 'b')}}},
                                  {"/missing", {{"status", 404}, {"body", std::string(3000, 'n')}}}}}});
    HttpLimits limits;
    limits.pageBytes = limits.textBytes = 1000;
    limits.pictureBytes = 2000;
    limits.programBytes = 1500;
    CurlHttp http(limits);
    const TempFolder dir("http-large");
    struct Case {
        const char* path;
        std::size_t size; ///< 0: refused everywhere
        bool program;     ///< fits a program file
        bool picture;     ///< fits a screenshot
    };
    const Case cases[] = {
        {"/endless", 0, false, false},
        {"/announced", 0, false, false},
        {"/limit", 1000, true, true},
        {"/between", 0, false, true},
    };
    for (const Case& c : cases) {
        const std::string address = server.address(c.path);
        EXPECT_EQ(http.httpGetText(address).size(), c.size) << c.path;
        const HttpAnswer answer = http.requestText(address);
        EXPECT_EQ(answer.ok, c.size > 0) << c.path;
        EXPECT_EQ(answer.body.size(), c.size) << c.path;
        if (!answer.ok) {
            EXPECT_NE(answer.error.find("larger than 1000 bytes"), std::string::npos) << answer.error;
        }
        EXPECT_EQ(http.downloadFile(address, (dir / "g.lvt").string()), c.program) << c.path;
        EXPECT_EQ(http.downloadFile(address, (dir / "screen1.png").string()), c.picture) << c.path;
        fs::remove(dir / "g.lvt");
        fs::remove(dir / "screen1.png");
        EXPECT_TRUE(fs::is_empty(dir.path())) << c.path;
    }
    // The body of an error answer is not fetched, so it cannot be too long:
    // the site simply lacks the file.
    EXPECT_EQ(http.fetchFile(server.address("/missing"), (dir / "g.lvt").string()), FileFetch::Absent);
    EXPECT_EQ(http.fetchFile(server.address("/endless"), (dir / "g.lvt").string()), FileFetch::Failed);
    EXPECT_TRUE(fs::is_empty(dir.path()));

    const HttpLimits usual;
    EXPECT_EQ(usual.fileBytes("Xonix.lvt"), usual.fileBytes("Xonix.lv3"));
    EXPECT_EQ(usual.fileBytes("Xonix.sav"), usual.fileBytes("Xonix.lvt"));
    EXPECT_GE(usual.fileBytes("Xonix.sav"), 22u + 65536u);
}

TEST(DownloadFile, ANameOfTheLongestLengthArrives)
{
    CatalogueServer server({}, {{"raw", {{"/f", {{"body", "file"}}}}}});
    CurlHttp http;
    const TempFolder dir("http-long");
    // 255 bytes is the longest name a folder holds; the temporary name is
    // short whatever the target's.
    for (const std::size_t length : {250u, 255u, 256u}) {
        const fs::path target = dir / (std::string(length - 4, 'n') + ".lvt");
        EXPECT_EQ(http.downloadFile(server.address("/f"), target.string()), length <= 255) << length;
        std::error_code ec;
        EXPECT_EQ(fs::exists(target, ec), length <= 255) << length;
        fs::remove(target, ec);
        EXPECT_TRUE(fs::is_empty(dir.path())) << length;
    }
}

TEST(HttpStop, StoppedLayerFailsAtOnce)
{
    CatalogueServer server({}, {{"raw", {{"/page", {{"body", "page"}}}}}});
    CurlHttp http;
    ASSERT_EQ(http.httpGetText(server.address("/page")), "page");
    http.stop();
    EXPECT_EQ(http.httpGetText(server.address("/page")), "");
    EXPECT_FALSE(http.downloadFile(server.address("/page"), (TempFolder("http-stop") / "f").string()));
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
        EXPECT_EQ(decodeByCharset(a.body, a.contentType), "Игра") << path;
    }
    const HttpAnswer latin = http.requestText(server.address("/latin1"));
    EXPECT_EQ(decodeByCharset(latin.body, latin.contentType), "é");
    const HttpAnswer refused = http.requestText("http://127.0.0.1:1/list.php");
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.error.find("127.0.0.1:1/list.php"), std::string::npos) << refused.error;
}

TEST(RequestText, TheListComesOverHttpsAndByARedirectToIt)
{
    CatalogueServer server({CatalogueServer::plainGame("Xonix")},
                           {{"tls", CatalogueServer::tls()},
                            {"raw",
                             {{"/to-secure",
                               {{"status", 302}, {"location", "https://127.0.0.1:{tls}/games/list.php"}}},
                              {"/to-file", {{"status", 302}, {"location", "file:///etc/passwd"}}}}}});
    const std::string list = server.secureAddress("/games/list.php");
    CurlHttp http;
    // Not trusted: the system's certificates do not vouch for this one.
    const HttpAnswer untrusted = http.requestText(list);
    EXPECT_FALSE(untrusted.ok);
    EXPECT_NE(untrusted.error.find(list), std::string::npos) << untrusted.error;

    http.setCertificateFile(CatalogueServer::certificateFile());
    for (const std::string& address : {list, server.address("/to-secure")}) {
        const HttpAnswer answer = http.requestText(address);
        ASSERT_TRUE(answer.ok) << address << ": " << answer.error;
        EXPECT_NE(answer.body.find("\"Name\": \"Xonix\""), std::string::npos) << answer.body;
    }
    EXPECT_FALSE(http.requestText(server.address("/to-file")).ok);
    // Pages and game files stay plain HTTP.
    EXPECT_EQ(http.httpGetText(server.secureAddress("/games/index.php")), "");
    const TempFolder dir("http-secure");
    EXPECT_FALSE(http.downloadFile(server.secureAddress("/games/Xonix/Xonix.lvt"), (dir / "Xonix.lvt").string()));
    EXPECT_FALSE(http.downloadFile(server.address("/to-secure"), (dir / "Xonix.lvt").string()));
    EXPECT_TRUE(fs::is_empty(dir.path()));
}
