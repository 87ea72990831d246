#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "tools/FontFile.hpp"

namespace ostrovik::tools {

/// The code grid is 16 × 16 cells, from code 32 at the top left.
inline constexpr int kCodeGridSide = 16;
inline constexpr int kFirstCode = 32;

/// The code shown in column @p column, row @p row of the code grid.
constexpr int codeAt(int column, int row)
{
    return kFirstCode + kCodeGridSide * row + column;
}

/// Where the eight dot rows of @p code lie: 0xB000 + 8 · code.
constexpr std::uint16_t glyphAddress(int code)
{
    return static_cast<std::uint16_t>(0xB000 + 8 * code);
}

/// A text of "1" and "0" characters as a number, the first character the
/// most significant bit; any other character counts as "0".
int bitStringToByte(std::string_view text);

/// The editor's state: the chosen code and the 8 × 8 grid of dots being
/// edited, which reaches memory only through change().
class GlyphEditor {
public:
    /// Chooses the code in @p column, @p row of the code grid and fills the
    /// dot grid from its glyph in @p ram.
    void select(int column, int row, const MachineRam& ram);
    /// Turns the dot in @p column, @p row of the dot grid on or off.
    void toggle(int column, int row);
    /// Writes the dot grid into the chosen code's glyph in @p ram.
    void change(MachineRam& ram) const;

    int code() const { return code_; }
    int column() const { return column_; }
    int row() const { return row_; }
    /// The dot grid's cell text, "1" or "0"; an empty grid (nothing chosen
    /// yet) reads "" everywhere.
    std::string_view cell(int column, int row) const;
    /// Dot row @p row of the grid as it would be written.
    std::uint8_t rowByte(int row) const;

    /// "KOI-7 code=65"
    std::string codeLabel() const;
    /// "Adress=45576 HEX=B208"
    std::string addressLabel() const;

private:
    int code_ = kFirstCode;
    int column_ = 0;
    int row_ = 0;
    /// Texts of the dot grid: 0 none, '0' or '1'.
    std::array<std::array<char, 8>, 8> cells_{};
};

} // namespace ostrovik::tools
