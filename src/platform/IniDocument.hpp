#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrovik::platform {

/// Outcome of an INI operation: ok, or the reason it failed (text for a
/// message box, in UTF-8 where it comes from the system).
struct IniStatus {
    bool ok = true;
    std::string message;

    explicit operator bool() const { return ok; }
    static IniStatus failure(std::string reason) { return {false, std::move(reason)}; }
};

/// The text of one INI file in the profile-string form the settings have
/// always used, held as its lines so that writing it back gives the same bytes.
///
/// - "[name]" opens a section; "key=value" lines follow. Blanks and tabs around
///   names and values do not count. A value in one pair of matching quotes
///   ("..." or '...') reads without them.
/// - Names compare without regard to the case of the ASCII letters; every byte
///   from 0x80 up compares exactly (Windows-1251 "С", 0xD1, is not Latin "C").
/// - The first section of a name wins, and within it the first key of a name.
/// - Every other line (comments, blank lines, lines without "=", keys before
///   the first section) is kept as it stands, and so is each line's end,
///   CR LF or LF.
/// - A new key goes after the last non-blank line of its section; a new
///   section goes at the end of the file, with no blank line before it. New
///   lines end as the file's first line does, CR LF in a file without one.
/// - A changed key keeps everything up to its "=" and gets the new value.
/// - A UTF-8 byte-order mark at the very start is skipped when reading and
///   kept when writing.
class IniDocument {
public:
    IniDocument() = default;
    /// Takes the file's bytes; every byte sequence is accepted.
    explicit IniDocument(std::string_view bytes);

    /// The file's bytes.
    std::string bytes() const;
    bool empty() const { return lines_.empty() && bom_.empty(); }

    /// The value of @p key in @p section, nothing when either is missing.
    std::optional<std::string> get(std::string_view section, std::string_view key) const;
    /// The same lookup straight on a file's @p bytes, without keeping its lines.
    static std::optional<std::string> find(std::string_view bytes, std::string_view section,
                                           std::string_view key);

    /// Sets @p key in @p section to @p value, creating the key and the section
    /// as needed. Refuses (and changes nothing) when a name or value cannot be
    /// stored on one line: a line break or zero byte anywhere, a "]" in the
    /// section name, a key that is empty or holds "=" or starts with "[" or ";".
    IniStatus set(std::string_view section, std::string_view key, std::string_view value);

private:
    struct Line {
        std::string text;
        std::string end; // "\r\n", "\n", or empty for a last line without one
    };

    std::string lineEnd() const;

    std::string bom_; // a UTF-8 byte-order mark the file began with, or empty
    std::vector<Line> lines_;
};

} // namespace ostrovik::platform
