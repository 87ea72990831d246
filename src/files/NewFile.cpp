#include "files/NewFile.hpp"

#include <cerrno>
#include <cstdio>
#include <stdexcept>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ostrovik::files {

namespace {

constexpr int kMaxSameSecond = 99;

std::string systemReason(int err)
{
    return std::error_code(err, std::generic_category()).message();
}

/// @p wanted with "_<n>" before its extension; the name itself for 1.
std::filesystem::path numbered(const std::filesystem::path& wanted, int n)
{
    if (n == 1)
        return wanted;
    std::filesystem::path path = wanted;
    path.replace_filename(wanted.stem().string() + "_" + std::to_string(n) + wanted.extension().string());
    return path;
}

} // namespace

NewFile::NewFile(std::filesystem::path path, int fd) : path_(std::move(path)), fd_(fd)
{
    struct stat st {};
    if (fd_ >= 0 && ::fstat(fd_, &st) == 0) {
        device_ = static_cast<std::uint64_t>(st.st_dev);
        inode_ = static_cast<std::uint64_t>(st.st_ino);
    }
}

NewFile::~NewFile()
{
    close();
}

NewFile::NewFile(NewFile&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)), device_(other.device_), inode_(other.inode_)
{
    other.path_.clear();
}

NewFile& NewFile::operator=(NewFile&& other) noexcept
{
    if (this != &other) {
        close();
        path_ = std::move(other.path_);
        other.path_.clear();
        fd_ = std::exchange(other.fd_, -1);
        device_ = other.device_;
        inode_ = other.inode_;
    }
    return *this;
}

int NewFile::takeFd()
{
    return std::exchange(fd_, -1);
}

void NewFile::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void NewFile::remove()
{
    close();
    struct stat st {};
    if (!path_.empty() && ::lstat(path_.c_str(), &st) == 0 && static_cast<std::uint64_t>(st.st_dev) == device_ &&
        static_cast<std::uint64_t>(st.st_ino) == inode_)
        ::unlink(path_.c_str());
    path_.clear();
}

NewFiles createNewFiles(const std::vector<std::filesystem::path>& wanted)
{
    NewFiles made;
    for (int n = 1; n <= kMaxSameSecond; ++n) {
        made.files.clear();
        bool taken = false;
        for (const std::filesystem::path& w : wanted) {
            const std::filesystem::path path = numbered(w, n);
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0) {
                made.error = errno;
                made.failed = path;
                taken = made.error == EEXIST;
                break;
            }
            made.files.emplace_back(path, fd);
        }
        if (made.error == 0)
            return made;
        // Whatever this round made goes: its names do not all match.
        for (NewFile& f : made.files)
            f.remove();
        made.files.clear();
        if (!taken)
            return made;
        if (n < kMaxSameSecond)
            made.error = 0;
    }
    return made;
}

std::string writeNewFile(const std::filesystem::path& wanted, std::span<const std::uint8_t> bytes,
                         std::string_view what)
{
    NewFiles made = createNewFiles({wanted});
    if (made.error != 0)
        throw std::runtime_error("Cannot create the " + std::string(what) + " " + made.failed.string() + ": " +
                                 systemReason(made.error));
    NewFile& file = made.files.front();
    const int fd = file.takeFd();
    std::FILE* f = ::fdopen(fd, "wb");
    int err = errno;
    if (!f)
        ::close(fd);
    bool written = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (f) {
        err = errno;
        const bool closed = std::fclose(f) == 0;
        if (written && !closed)
            err = errno;
        written = written && closed;
    }
    if (!written) {
        const std::string path = file.path().string();
        file.remove();
        throw std::runtime_error("Cannot write the " + std::string(what) + " " + path + ": " + systemReason(err));
    }
    return file.path().string();
}

} // namespace ostrovik::files
