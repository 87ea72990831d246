#include "platform/WholeFile.hpp"
#include "platform/FileFaults.hpp"

#include <cerrno>
#include <system_error>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ostrovik::platform {

namespace {

std::string Reason(int error)
{
    return std::system_category().message(error);
}

/// Writes all of @p bytes; the error number, 0 when all went.
int WriteAll(int fd, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

} // namespace

FileWrite WriteWholeFile(const std::string& path, std::string_view bytes, bool runnable)
{
    FileWrite result;
    if (const int refused = OpenFaultFor(path, true)) {
        result.reason = Reason(refused);
        return result;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, runnable ? 0777 : 0666);
    if (fd < 0) {
        result.reason = Reason(errno);
        return result;
    }
    result.created = true;
    // Only a file of our own making is removed after a failure, never a
    // device or a pipe that stood under the name.
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    int error = WriteAll(fd, bytes);
    if (error == 0)
        error = WriteFaultFor(path);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        // What the failed write left is no file anybody should take for one.
        if (regular)
            ::unlink(path.c_str());
        result.reason = Reason(error);
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace ostrovik::platform
