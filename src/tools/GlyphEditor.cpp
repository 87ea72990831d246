#include "tools/GlyphEditor.hpp"

#include <cstdio>

namespace ostrovik::tools {

int bitStringToByte(std::string_view text)
{
    int value = 0;
    for (char c : text)
        value = value << 1 | (c == '1' ? 1 : 0);
    return value;
}

void GlyphEditor::select(int column, int row, const MachineRam& ram)
{
    code_ = codeAt(column, row);
    column_ = column;
    row_ = row;
    const std::uint16_t address = glyphAddress(code_);
    for (int r = 0; r < 8; ++r)
        for (int b = 0; b < 8; ++b)
            cells_[static_cast<std::size_t>(r)][static_cast<std::size_t>(7 - b)] =
                (ram[address + r] >> b) & 1 ? '1' : '0';
}

void GlyphEditor::toggle(int column, int row)
{
    char& c = cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    c = c == '1' ? '0' : '1';
}

std::string_view GlyphEditor::cell(int column, int row) const
{
    const char& c = cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    return c ? std::string_view(&c, 1) : std::string_view();
}

std::uint8_t GlyphEditor::rowByte(int row) const
{
    // Every cell keeps its bit's place, a cell not yet filled counting as
    // "0": joined as they stand, a grid toggled before any pick would shift
    // its dots to the right.
    std::string text;
    for (int column = 0; column < 8; ++column)
        text += cell(column, row) == "1" ? '1' : '0';
    return static_cast<std::uint8_t>(bitStringToByte(text));
}

void GlyphEditor::change(MachineRam& ram) const
{
    const std::uint16_t address = glyphAddress(code_);
    for (int r = 0; r < 8; ++r)
        ram[address + r] = rowByte(r);
}

std::string GlyphEditor::codeLabel() const
{
    return "KOI-7 code=" + std::to_string(code_);
}

std::string GlyphEditor::addressLabel() const
{
    const std::uint16_t address = glyphAddress(code_);
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", address);
    return "Adress=" + std::to_string(address) + " HEX=" + hex;
}

} // namespace ostrovik::tools
