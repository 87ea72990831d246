#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrovik::games {

/// A page's lines: the page's text held once, and where each line lies in
/// it (eight bytes a line, however short the lines are).
class Lines {
public:
    Lines() = default;
    /// Lines given one by one (a page written by hand).
    Lines(std::initializer_list<std::string_view> lines);

    std::size_t size() const { return spans_.size(); }
    bool empty() const { return spans_.empty(); }
    std::string_view operator[](std::size_t i) const
    {
        return std::string_view(text_).substr(spans_[i].first, spans_[i].second - spans_[i].first);
    }
    bool operator==(const Lines& other) const;

    class const_iterator {
    public:
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        const_iterator() = default;
        const_iterator(const Lines* lines, std::size_t at) : lines_(lines), at_(at) {}
        std::string_view operator*() const { return (*lines_)[at_]; }
        const_iterator& operator++()
        {
            ++at_;
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator was = *this;
            ++at_;
            return was;
        }
        bool operator==(const const_iterator& other) const { return at_ == other.at_; }

    private:
        const Lines* lines_ = nullptr;
        std::size_t at_ = 0;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    /// @p text split at CR LF, LF or CR; an empty text has no lines, and
    /// neither has one of 4 GB or more.
    static Lines split(std::string text);

private:
    std::string text_;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> spans_; ///< begin, end
};

/// @p text split into lines at CR LF, LF or CR; an empty text has none.
std::vector<std::string> splitLines(std::string_view text);

/// A page's bytes split into lines at CR LF, LF or CR; a page that is not
/// valid UTF-8 has no lines. The lines stay UTF-8.
Lines pageToLines(std::string bytes);

/// The game count that the start page announces.
struct GameCount {
    std::uint16_t count = 0;
    std::string error; ///< not empty: the count characters are no number
};
/// The last line holding the count marker decides: its four characters
/// before the last six, blanks removed, read as a decimal number.
GameCount readGameCount(const Lines& page);

/// The count raised to whole list pages of 50, up to 600; above 600 it stays.
std::uint16_t wholePages(std::uint16_t count);

/// One row of a list page's games table.
struct GameRow {
    std::string name;  ///< folder name and file stem
    std::string title; ///< the row's link text
    std::string mark;  ///< from the rank image's name
};

/// The first line holding the table head, if any.
std::optional<std::size_t> findTableHead(const Lines& page);

/// The rows of the table that starts at @p head, in page order. The walk
/// ends at a line that is exactly "</table>" or at the page's end; a row
/// cut short by the page's end has empty texts for its missing lines.
std::vector<GameRow> readRows(const Lines& page, std::size_t head);

/// The description on a game's page: the line after the first one holding
/// the second screenshot's image of @p name, with every description end
/// removed; nothing without such a line (or without a line after it).
std::optional<std::string> findDescription(const Lines& page, std::string_view name);

/// The log line with the count: "Игр на сайте:" and the number.
std::string gameCountLine(std::uint16_t count);

} // namespace ostrovik::games
