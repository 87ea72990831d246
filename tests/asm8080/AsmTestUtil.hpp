#pragma once

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/TestData.hpp"
#include "asm8080/Assembler.hpp"

namespace asmtest {

using ostrovik::test::testDataPath;

inline std::string readFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

inline std::vector<std::uint8_t> bytesOf(const std::string& s)
{
    return std::vector<std::uint8_t>(s.begin(), s.end());
}

/// The bytes of a source that must assemble without error.
inline std::vector<std::uint8_t> code(const std::string& source)
{
    auto r = ostrovik::asm8080::assemble(source);
    return r.ok() ? r.bytes : std::vector<std::uint8_t>{0xDE, 0xAD};
}

/// The message of the only error of a source, or "(n errors)".
inline std::string onlyError(const std::string& source)
{
    auto r = ostrovik::asm8080::assemble(source);
    if (r.errors.size() != 1)
        return "(" + std::to_string(r.errors.size()) + " errors)";
    return r.errors[0].message;
}

}  // namespace asmtest
