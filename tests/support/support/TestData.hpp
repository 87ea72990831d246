#pragma once

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace ostrovik::test {

/// The path of @p name in the test data folder: OSTROVIK_TESTDATA, which
/// CTest sets, else tests/data below the current folder.
inline std::string testDataPath(std::string_view name)
{
    const char* dir = std::getenv("OSTROVIK_TESTDATA");
    return std::string(dir ? dir : "tests/data") + "/" + std::string(name);
}

/// The bytes of test data file @p name; empty when it is missing.
inline std::string testData(std::string_view name)
{
    std::ifstream f(testDataPath(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

/// The lines of test data file @p name, without their line ends.
inline std::vector<std::string> testDataLines(std::string_view name)
{
    std::ifstream in(testDataPath(name));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace ostrovik::test
