#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>

namespace ostrovik::games {

/// The host part of an address: after a leading "http://" (the first seven
/// characters go whenever "http://" occurs anywhere), up to the first "/";
/// the whole rest when that part is empty. A port stays part of the host.
std::string urlHost(std::string_view address);

/// Bounds on every transfer, so that a server that drips bytes or never
/// stops sending can neither hold a method nor fill memory or the disk.
struct HttpLimits {
    long connectSeconds = 15;   ///< to open the connection
    long lowSpeedSeconds = 15;  ///< slower than lowSpeedBytes a second for this long fails
    long lowSpeedBytes = 100;   ///< (waiting for the answer's head counts as slow)
    long totalSeconds = 300;    ///< the whole transfer, from start to end
    std::size_t pageBytes = 4u << 20;       ///< a catalogue page (httpGetText)
    std::size_t textBytes = 8u << 20;       ///< a text document (requestText)
    std::size_t pictureBytes = 4u << 20;    ///< a file ending ".png" (downloadFile)
    std::size_t programBytes = 90'004;      ///< any other file: the largest the loader takes

    /// The most @p fileName may receive from downloadFile().
    std::size_t fileBytes(std::string_view fileName) const;
};

/// An answer of requestText(): the body as the server sent it.
struct HttpAnswer {
    bool ok = false;         ///< an answer arrived whole (any status)
    std::string error;       ///< why not, when not ok
    long status = 0;
    std::string contentType; ///< the Content-Type header, as sent
    std::string body;
};

/// How the fetch of a file ended.
enum class FileFetch {
    Arrived, ///< a 2xx answer arrived whole and is in place
    Absent,  ///< a whole answer of another status: the site has no such file
    Failed,  ///< no whole answer (connection, limits, disk, the program's end)
};

/// The catalogue's three fetches. Every call stands alone, so calls may come
/// from several threads at once. Tests put a fake in its place.
class HttpClient {
public:
    virtual ~HttpClient() = default;
    /// The body of a GET of @p address (plain HTTP), whatever the status;
    /// empty on any failure (an answer cut short by a limit or broken off by
    /// the server among them) and for a body over the page limit. Within each
    /// 1,024-byte piece of the body, a zero byte ends what is kept of that
    /// piece.
    virtual std::string httpGetText(const std::string& address) = 0;
    /// Copies the resource to @p fileName; true only when a 2xx answer
    /// arrived whole and within the file's limit. The file is written under a
    /// short temporary name in the target's folder and renamed on success,
    /// so a failure never leaves a half file nor harms an older one.
    virtual bool downloadFile(const std::string& address, const std::string& fileName) = 0;
    /// downloadFile, telling a file the site does not have from one that did
    /// not arrive.
    virtual FileFetch fetchFile(const std::string& address, const std::string& fileName) = 0;
    /// One GET for a text document (the JSON list), over HTTP or HTTPS, a
    /// redirect to either followed; failures, the text limit among them, are
    /// explained.
    virtual HttpAnswer requestText(const std::string& address) = 0;
};

/// The fetches on libcurl: one easy handle per call, nothing shared.
class CurlHttp final : public HttpClient {
public:
    explicit CurlHttp(HttpLimits limits = {});

    std::string httpGetText(const std::string& address) override;
    bool downloadFile(const std::string& address, const std::string& fileName) override;
    FileFetch fetchFile(const std::string& address, const std::string& fileName) override;
    HttpAnswer requestText(const std::string& address) override;

    /// The bounds of every transfer that starts from now on.
    void setLimits(const HttpLimits& limits);
    HttpLimits limits() const;

    /// Aborts every transfer in progress and fails every later one (the
    /// program is ending).
    void stop() { stopped_ = true; }
    bool stopped() const { return stopped_; }

    /// HTTPS answers are checked against the certificates in @p pemFile
    /// instead of the system's (a catalogue with a certificate of its own).
    void setCertificateFile(std::string pemFile) { certificateFile_ = std::move(pemFile); }

private:
    mutable std::mutex limitsMutex_;
    HttpLimits limits_;
    std::string certificateFile_;
    std::atomic<bool> stopped_{false};
};

/// The address @p address as the HTTP layer requests it: "http://", the host
/// of urlHost(), "/" and the object name (what follows the host and the one
/// character after it).
std::string requestAddress(std::string_view address);

/// The zero-byte rule: each 1,024-byte piece of @p raw kept up to its first
/// zero byte.
std::string keepPiecesToZero(std::string_view raw);

} // namespace ostrovik::games
