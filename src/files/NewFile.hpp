#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ostrovik::files {

/// A file this program has just created: its name and, until it is handed
/// on, a descriptor open for writing (closed when the object goes). It is
/// removed only by remove(), and only while its name still leads to it.
class NewFile {
public:
    NewFile() = default;
    NewFile(std::filesystem::path path, int fd);
    ~NewFile();
    NewFile(NewFile&& other) noexcept;
    NewFile& operator=(NewFile&& other) noexcept;
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    /// Empty when nothing was created (or it has been removed).
    const std::filesystem::path& path() const { return path_; }
    bool empty() const { return path_.empty(); }
    /// Hands the descriptor on: whoever takes it closes it. -1 when already taken.
    int takeFd();
    /// Removes the file when its name still names the file created here,
    /// never one put in its place since, and closes a descriptor still held.
    /// Then empty.
    void remove();

private:
    void close();

    std::filesystem::path path_;
    int fd_ = -1;
    std::uint64_t device_ = 0;
    std::uint64_t inode_ = 0;
};

/// What createNewFiles made: the files, or why it made none.
struct NewFiles {
    std::vector<NewFile> files; ///< one per wanted name, in order; empty on failure
    int error = 0;              ///< errno of the failure, 0 on success
    std::filesystem::path failed; ///< the name that could not be created
};

/// Files are stamped to the second, so a second one within the same second
/// would take the first one's name: instead it gets "_2" (then "_3" …)
/// before its extension. Creates one new file for each of @p wanted, each by
/// an exclusive create, so that no file that exists is opened, let alone cut,
/// and two at once cannot take the same name. When any of the names is taken
/// all get the same number, so names made together keep matching. On a
/// failure nothing is left created.
NewFiles createNewFiles(const std::vector<std::filesystem::path>& wanted);

/// Writes @p bytes as a new file named @p wanted, numbered as createNewFiles
/// numbers it. Returns the path written. Throws std::runtime_error naming
/// @p what, the path and the system's reason when the file cannot be created
/// or written (its folder missing, say), and leaves no partial file behind.
std::string writeNewFile(const std::filesystem::path& wanted, std::span<const std::uint8_t> bytes,
                         std::string_view what);

} // namespace ostrovik::files
