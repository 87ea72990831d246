#include "platform/RegularFile.hpp"
#include "platform/FileFaults.hpp"

#include <cerrno>
#include <system_error>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ostrovik::platform {

namespace {

std::string errorText(int error)
{
    return std::system_category().message(error);
}

struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
};

} // namespace

FileRead readRegularFile(const std::string& path, std::size_t maxBytes, WhenLonger whenLonger)
{
    FileRead result;
    if (const int fault = openFaultFor(path, false); fault != 0) {
        result.status = fault == ENOENT ? FileReadStatus::Missing : FileReadStatus::Failed;
        result.reason = errorText(fault);
        return result;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        result.status = errno == ENOENT ? FileReadStatus::Missing : FileReadStatus::Failed;
        result.reason = errorText(errno);
        return result;
    }
    FdCloser closer{fd};
    result.opened = true;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        result.reason = errorText(errno);
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.status = FileReadStatus::NotRegular;
        result.reason = S_ISDIR(st.st_mode) ? errorText(EISDIR) : std::string("not a regular file");
        return result;
    }
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (size > maxBytes && whenLonger == WhenLonger::Refuse) {
        result.status = FileReadStatus::TooLarge;
        result.reason = "the file holds " + std::to_string(size) + " bytes, more than "
                        + std::to_string(maxBytes);
        return result;
    }
    // Read one byte past the bound, to tell a file that grew beyond it.
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(size, maxBytes)) + 1);
    std::size_t have = 0;
    while (have < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + have, bytes.size() - have);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            result.reason = errorText(errno);
            return result;
        }
        if (n == 0)
            break;
        have += static_cast<std::size_t>(n);
        if (have == bytes.size() && have <= maxBytes)
            bytes.resize(std::min(maxBytes + 1, bytes.size() * 2)); // grew while being read
    }
    bytes.resize(have);
    if (have > maxBytes) {
        if (whenLonger == WhenLonger::Refuse) {
            result.status = FileReadStatus::TooLarge;
            result.reason = "the file holds more than " + std::to_string(maxBytes) + " bytes";
            return result;
        }
        bytes.resize(maxBytes);
        result.status = FileReadStatus::Truncated;
        result.reason = "the file holds more than " + std::to_string(maxBytes) + " bytes";
    } else {
        result.status = FileReadStatus::Ok;
    }
    result.bytes = std::move(bytes);
    return result;
}

bool isRegularFile(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace ostrovik::platform
