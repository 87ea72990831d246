#pragma once

#include <sstream>
#include <string>
#include <vector>

/// The cells of each row of a table written as "| a | b | c |" lines; the
/// cell before the first bar is the empty field 0. Empty lines are skipped.
inline std::vector<std::vector<std::string>> tableRows(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty())
            continue;
        std::vector<std::string> fields;
        std::istringstream cells(line);
        std::string cell;
        while (std::getline(cells, cell, '|'))
            fields.push_back(cell);
        rows.push_back(std::move(fields));
    }
    return rows;
}
