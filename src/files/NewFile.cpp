#include "files/NewFile.hpp"

#include <cerrno>
#include <cstdio>
#include <stdexcept>
#include <system_error>

namespace ostrovik::files {

namespace {

constexpr int kMaxSameSecond = 99;

std::string systemReason(int err)
{
    return std::error_code(err, std::generic_category()).message();
}

/// Creates @p path only when no file of that name exists yet.
std::FILE* createNew(const std::filesystem::path& path)
{
    return std::fopen(path.c_str(), "wbx");
}

} // namespace

std::string writeNewFile(const std::filesystem::path& wanted, std::span<const std::uint8_t> bytes,
                         std::string_view what)
{
    std::filesystem::path path = wanted;
    std::FILE* f = createNew(path);
    for (int n = 2; !f && errno == EEXIST && n <= kMaxSameSecond; ++n) {
        path = wanted;
        path.replace_filename(wanted.stem().string() + "_" + std::to_string(n) + wanted.extension().string());
        f = createNew(path);
    }
    if (!f) {
        const int err = errno;
        throw std::runtime_error("Cannot create the " + std::string(what) + " " + path.string() + ": " +
                                 systemReason(err));
    }

    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    int err = errno;
    const bool closed = std::fclose(f) == 0;
    if (written && !closed)
        err = errno;
    if (!written || !closed) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        throw std::runtime_error("Cannot write the " + std::string(what) + " " + path.string() + ": " +
                                 systemReason(err));
    }
    return path.string();
}

} // namespace ostrovik::files
