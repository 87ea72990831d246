#include "games/Http.hpp"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <fcntl.h>
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

/// Where a transfer's body goes, and how much of it may come.
struct Sink {
    std::string* text = nullptr;
    std::FILE* file = nullptr;
    std::size_t limit = 0;
    std::size_t received = 0;
    bool overLimit = false;
    /// For a file: the answer's status is looked at before its first byte,
    /// and the body of one that is not 2xx is not fetched at all.
    CURL* only2xx = nullptr;
    bool notWanted = false;
};

size_t receive(char* data, size_t size, size_t count, void* user)
{
    Sink& sink = *static_cast<Sink*>(user);
    const std::size_t n = size * count;
    if (sink.only2xx && sink.received == 0) {
        long status = 0;
        curl_easy_getinfo(sink.only2xx, CURLINFO_RESPONSE_CODE, &status);
        if (status < 200 || status >= 300) {
            sink.notWanted = true;
            return 0;
        }
    }
    if (n > sink.limit - sink.received) {
        sink.overLimit = true;
        return 0; // any other count than n ends the transfer
    }
    sink.received += n;
    if (sink.text)
        sink.text->append(data, n);
    else if (std::fwrite(data, 1, n, sink.file) != n)
        return 0;
    return n;
}

/// The head of the answer a transfer is reading: whether its blank line has
/// come, and its Content-Type. A redirect's head is followed by the next
/// answer's, which starts anew.
struct Head {
    bool ended = false;
    std::string contentType; ///< as sent
};

size_t readHead(char* data, size_t size, size_t count, void* user)
{
    Head& head = *static_cast<Head*>(user);
    const std::string_view line(data, size * count);
    if (line.starts_with("HTTP/")) {
        head = Head{};
        return line.size();
    }
    if (line == "\r\n" || line == "\n") {
        head.ended = true;
        return line.size();
    }
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
            head.contentType = std::string(value);
        }
    }
    return line.size();
}

/// Why the answer a transfer ended with is not whole, or nothing when it is.
/// libcurl takes an answer that breaks off inside its head for a whole one
/// without a body, so the head's end is judged here; and a body is as long
/// as its Content-Length says, whatever libcurl makes of a short one.
std::optional<std::string> brokenOff(CURL* c, const Head& head, const Sink& sink)
{
    if (!head.ended)
        return "The answer broke off inside its headers";
    curl_off_t announced = -1;
    curl_easy_getinfo(c, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
    if (announced >= 0 && static_cast<curl_off_t>(sink.received) != announced)
        return "The answer broke off after " + std::to_string(sink.received) + " of its " +
               std::to_string(announced) + " bytes";
    return std::nullopt;
}

int abortWhenStopped(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<const std::atomic<bool>*>(user)->load() ? 1 : 0;
}

constexpr const char* kPlainOnly = "http";
constexpr const char* kPlainOrSecure = "http,https";

/// An easy handle set up the way every fetch of ours goes out, its body
/// going to @p sink.
Easy openEasy(const std::string& url, const HttpLimits& limits, const std::atomic<bool>& stopped, Sink& sink,
              Head& head, const char* protocols = kPlainOnly)
{
    initCurlOnce();
    Easy easy(curl_easy_init());
    if (!easy)
        return easy;
    CURL* c = easy.get();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, protocols);
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, protocols);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, limits.connectSeconds);
    // A transfer slower than this for this long fails; waiting for the
    // answer's head counts as slow. No transfer outlives the overall cap.
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, limits.lowSpeedBytes);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, limits.lowSpeedSeconds);
    curl_easy_setopt(c, CURLOPT_TIMEOUT, limits.totalSeconds);
    // An announced length over the limit is refused before the body comes;
    // the sink cuts one that was not announced.
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(sink.limit));
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, receive);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, readHead);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &head);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, abortWhenStopped);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &stopped);
    return easy;
}

bool tooLarge(CURLcode result, const Sink& sink)
{
    return sink.overLimit || result == CURLE_FILESIZE_EXCEEDED;
}

/// A short name in @p folder that no other file has, created empty for
/// writing: ".part-" and two numbers of eight hexadecimal digits, whatever
/// the length of the target's own name.
std::FILE* createTemporary(const std::filesystem::path& folder, std::string& name)
{
    static std::atomic<unsigned> serial{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char leaf[32];
        std::snprintf(leaf, sizeof leaf, ".part-%08x-%08x", static_cast<unsigned>(::getpid()), serial++);
        name = (folder / leaf).string();
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            if (std::FILE* file = ::fdopen(fd, "wb"))
                return file;
            ::close(fd);
            ::unlink(name.c_str());
            return nullptr;
        }
        if (errno != EEXIST)
            return nullptr;
    }
    return nullptr;
}

} // namespace

std::string urlHost(std::string_view address)
{
    std::string s(address);
    if (s.find("http://") != std::string::npos)
        s.erase(0, std::min<std::size_t>(7, s.size()));
    const std::size_t slash = s.find('/');
    const std::string host = slash == std::string::npos ? std::string() : s.substr(0, slash);
    return host.empty() ? s : host;
}

std::string requestAddress(std::string_view address)
{
    const std::string host = urlHost(address);
    const std::size_t at = std::string_view(address).find(host);
    std::string object;
    if (at != std::string_view::npos && at + host.size() + 1 <= address.size())
        object = std::string(address.substr(at + host.size() + 1));
    return "http://" + host + "/" + object;
}

std::string keepPiecesToZero(std::string_view raw)
{
    std::string text;
    text.reserve(raw.size());
    for (std::size_t at = 0; at < raw.size(); at += kReadPiece) {
        const std::string_view piece = raw.substr(at, kReadPiece);
        text.append(piece.substr(0, piece.find('\0')));
    }
    return text;
}

std::size_t HttpLimits::fileBytes(std::string_view fileName) const
{
    return fileName.ends_with(".png") ? pictureBytes : programBytes;
}

CurlHttp::CurlHttp(HttpLimits limits) : limits_(limits) {}

void CurlHttp::setLimits(const HttpLimits& limits)
{
    std::lock_guard lock(limitsMutex_);
    limits_ = limits;
}

HttpLimits CurlHttp::limits() const
{
    std::lock_guard lock(limitsMutex_);
    return limits_;
}

std::string CurlHttp::httpGetText(const std::string& address)
{
    // No host, or a scheme other than ours read as a host ("https:").
    const std::string host = urlHost(address);
    if (stopped_ || host.empty() || host.back() == ':')
        return {};
    std::string body;
    const HttpLimits limits = this->limits();
    Sink sink{&body, nullptr, limits.pageBytes};
    Head head;
    Easy easy = openEasy(requestAddress(address), limits, stopped_, sink, head);
    if (!easy)
        return {};
    CURL* c = easy.get();
    curl_slist* raw = nullptr;
    for (const char* h : {"Accept: text/*", "Content-Type: application/x-www-form-urlencoded",
                          "Cache-Control: no-cache", "Pragma: no-cache"})
        raw = curl_slist_append(raw, h);
    List headers(raw);
    curl_easy_setopt(c, CURLOPT_USERAGENT, "VADA");
    curl_easy_setopt(c, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    // A transfer that failed is no page, also when part of it arrived: a
    // page cut short by a limit or by the server would be read as the whole
    // page.
    if (curl_easy_perform(c) != CURLE_OK || brokenOff(c, head, sink))
        return {};
    return keepPiecesToZero(body);
}

bool CurlHttp::downloadFile(const std::string& address, const std::string& fileName)
{
    return fetchFile(address, fileName) == FileFetch::Arrived;
}

FileFetch CurlHttp::fetchFile(const std::string& address, const std::string& fileName)
{
    namespace fs = std::filesystem;
    if (stopped_)
        return FileFetch::Failed;
    std::string part;
    const HttpLimits limits = this->limits();
    Sink sink{nullptr, nullptr, limits.fileBytes(fileName)};
    Head head;
    Easy easy = openEasy(address, limits, stopped_, sink, head);
    if (!easy)
        return FileFetch::Failed;
    CURL* c = easy.get();
    CURLcode result = CURLE_WRITE_ERROR;
    long status = 0;
    {
        std::unique_ptr<std::FILE, FileCloser> out(createTemporary(fs::path(fileName).parent_path(), part));
        if (!out)
            return FileFetch::Failed;
        sink.file = out.get();
        sink.only2xx = c;
        curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(c, CURLOPT_MAXREDIRS, 5L);
        result = curl_easy_perform(c);
        curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
        if (std::fflush(out.get()) != 0 || std::ferror(out.get()))
            result = CURLE_WRITE_ERROR;
        if (std::fclose(out.release()) != 0)
            result = CURLE_WRITE_ERROR;
    }
    std::error_code ec;
    const bool success = status >= 200 && status < 300;
    if (result == CURLE_OK && success && !brokenOff(c, head, sink)) {
        fs::rename(part, fileName, ec);
        if (!ec)
            return FileFetch::Arrived;
    }
    fs::remove(part, ec);
    // An error answer's status came with its head: its body is not wanted,
    // whether it was refused by its announced length (read in the head) or
    // at its first byte. A head that broke off is no answer.
    const bool answered =
        result == CURLE_FILESIZE_EXCEEDED || (head.ended && (result == CURLE_OK || sink.notWanted));
    return answered && status != 0 && !success ? FileFetch::Absent : FileFetch::Failed;
}

HttpAnswer CurlHttp::requestText(const std::string& address)
{
    HttpAnswer answer;
    const HttpLimits limits = this->limits();
    Sink sink{&answer.body, nullptr, limits.textBytes};
    Head head;
    Easy easy = openEasy(address, limits, stopped_, sink, head, kPlainOrSecure);
    if (!easy) {
        answer.error = "the HTTP layer could not start a request";
        return answer;
    }
    CURL* c = easy.get();
    char detail[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, detail);
    if (!certificateFile_.empty())
        curl_easy_setopt(c, CURLOPT_CAINFO, certificateFile_.c_str());
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 5L);
    const CURLcode result = curl_easy_perform(c);
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &answer.status);
    const std::optional<std::string> broken = result == CURLE_OK ? brokenOff(c, head, sink) : std::nullopt;
    if (result != CURLE_OK || broken) {
        if (broken)
            answer.error = *broken;
        else if (tooLarge(result, sink))
            answer.error = "The answer is larger than " + std::to_string(sink.limit) + " bytes";
        else
            answer.error = detail[0] != '\0' ? detail : curl_easy_strerror(result);
        answer.error += ": " + address;
        answer.body.clear();
        answer.body.shrink_to_fit();
        return answer;
    }
    answer.contentType = std::move(head.contentType);
    answer.ok = true;
    return answer;
}

} // namespace ostrovik::games
