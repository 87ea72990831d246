#include "games/Http.hpp"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include <curl/curl.h>

namespace ostrovik::games {

namespace {

constexpr std::size_t kReadPiece = 1024;

/// curl_global_init is not thread-safe; the first call makes it, once.
void initCurlOnce()
{
    static const bool done = [] {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        return true;
    }();
    (void)done;
}

struct EasyDeleter {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct ListDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
using Easy = std::unique_ptr<CURL, EasyDeleter>;
using List = std::unique_ptr<curl_slist, ListDeleter>;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

size_t appendToString(char* data, size_t size, size_t count, void* user)
{
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

size_t writeToFile(char* data, size_t size, size_t count, void* user)
{
    return std::fwrite(data, size, count, static_cast<std::FILE*>(user)) * size;
}

size_t keepContentType(char* data, size_t size, size_t count, void* user)
{
    std::string_view line(data, size * count);
    constexpr std::string_view name = "content-type:";
    if (line.size() > name.size()) {
        bool same = true;
        for (std::size_t i = 0; i < name.size() && same; ++i)
            same = (line[i] | 0x20) == name[i] || line[i] == name[i];
        if (same) {
            std::string_view value = line.substr(name.size());
            while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
                value.remove_prefix(1);
            while (!value.empty() && (value.back() == '\r' || value.back() == '\n' || value.back() == ' '))
                value.remove_suffix(1);
            *static_cast<std::string*>(user) = std::string(value);
        }
    }
    return size * count;
}

int abortWhenStopped(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<const std::atomic<bool>*>(user)->load() ? 1 : 0;
}

/// An easy handle set up the way every fetch of ours goes out.
Easy openEasy(const std::string& url, const HttpLimits& limits, const std::atomic<bool>& stopped)
{
    initCurlOnce();
    Easy easy(curl_easy_init());
    if (!easy)
        return easy;
    CURL* c = easy.get();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, limits.connectSeconds);
    // A transfer that moves no byte for this long fails; waiting for the
    // answer's head counts as well.
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, limits.stallSeconds);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, abortWhenStopped);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &stopped);
    return easy;
}

} // namespace

std::string UrlHost(std::string_view address)
{
    std::string s(address);
    if (s.find("http://") != std::string::npos)
        s.erase(0, std::min<std::size_t>(7, s.size()));
    const std::size_t slash = s.find('/');
    const std::string host = slash == std::string::npos ? std::string() : s.substr(0, slash);
    return host.empty() ? s : host;
}

std::string RequestAddress(std::string_view address)
{
    const std::string host = UrlHost(address);
    const std::size_t at = std::string_view(address).find(host);
    std::string object;
    if (at != std::string_view::npos && at + host.size() + 1 <= address.size())
        object = std::string(address.substr(at + host.size() + 1));
    return "http://" + host + "/" + object;
}

std::string KeepPiecesToZero(std::string_view raw)
{
    std::string text;
    text.reserve(raw.size());
    for (std::size_t at = 0; at < raw.size(); at += kReadPiece) {
        const std::string_view piece = raw.substr(at, kReadPiece);
        text.append(piece.substr(0, piece.find('\0')));
    }
    return text;
}

CurlHttp::CurlHttp(HttpLimits limits) : limits_(limits) {}

std::string CurlHttp::HttpGetText(const std::string& address)
{
    // No host, or a scheme other than ours read as a host ("https:").
    const std::string host = UrlHost(address);
    if (stopped_ || host.empty() || host.back() == ':')
        return {};
    Easy easy = openEasy(RequestAddress(address), limits_, stopped_);
    if (!easy)
        return {};
    CURL* c = easy.get();
    curl_slist* raw = nullptr;
    for (const char* h : {"Accept: text/*", "Content-Type: application/x-www-form-urlencoded",
                          "Cache-Control: no-cache", "Pragma: no-cache"})
        raw = curl_slist_append(raw, h);
    List headers(raw);
    std::string body;
    curl_easy_setopt(c, CURLOPT_USERAGENT, "VADA");
    curl_easy_setopt(c, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, appendToString);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
    // A transfer cut part-way keeps what arrived; one that never got an
    // answer has no body either way.
    curl_easy_perform(c);
    return KeepPiecesToZero(body);
}

bool CurlHttp::DownloadFile(const std::string& address, const std::string& fileName)
{
    return FetchFile(address, fileName) == FileFetch::Arrived;
}

FileFetch CurlHttp::FetchFile(const std::string& address, const std::string& fileName)
{
    namespace fs = std::filesystem;
    static std::atomic<unsigned> serial{0};
    if (stopped_)
        return FileFetch::Failed;
    const std::string part = fileName + ".part" + std::to_string(::getpid()) + "-" + std::to_string(serial++);
    Easy easy = openEasy(address, limits_, stopped_);
    if (!easy)
        return FileFetch::Failed;
    CURL* c = easy.get();
    CURLcode result = CURLE_WRITE_ERROR;
    long status = 0;
    {
        std::unique_ptr<std::FILE, FileCloser> out(std::fopen(part.c_str(), "wb"));
        if (!out)
            return FileFetch::Failed;
        curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(c, CURLOPT_MAXREDIRS, 5L);
        curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, writeToFile);
        curl_easy_setopt(c, CURLOPT_WRITEDATA, out.get());
        result = curl_easy_perform(c);
        curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
        if (std::fflush(out.get()) != 0 || std::ferror(out.get()))
            result = CURLE_WRITE_ERROR;
    }
    std::error_code ec;
    const bool success = status >= 200 && status < 300;
    if (result == CURLE_OK && success) {
        fs::rename(part, fileName, ec);
        if (!ec)
            return FileFetch::Arrived;
    }
    fs::remove(part, ec);
    return result == CURLE_OK && !success ? FileFetch::Absent : FileFetch::Failed;
}

HttpAnswer CurlHttp::requestText(const std::string& address)
{
    HttpAnswer answer;
    Easy easy = openEasy(address, limits_, stopped_);
    if (!easy) {
        answer.error = "the HTTP layer could not start a request";
        return answer;
    }
    CURL* c = easy.get();
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, appendToString);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &answer.body);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, keepContentType);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &answer.contentType);
    const CURLcode result = curl_easy_perform(c);
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &answer.status);
    if (result != CURLE_OK) {
        answer.error = std::string(curl_easy_strerror(result)) + ": " + address;
        answer.body.clear();
        return answer;
    }
    answer.ok = true;
    return answer;
}

} // namespace ostrovik::games
