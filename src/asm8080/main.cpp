// asm8080: the cross-assembler the assembler workbench runs as
//   asm8080 -l<listing> <source>
// It writes <base>.bin and <base>.hex beside the source and the listing.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "asm8080/Assembler.hpp"
#include "asm8080/IntelHex.hpp"

namespace {

using ostrovik::asm8080::AsmResult;

int usage()
{
    std::cerr << "usage: asm8080 -l<listing> <source>\n";
    return 2;
}

/// The source path without its extension.
std::string baseName(const std::string& path)
{
    auto slash = path.find_last_of("/\\");
    auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path;
    return path.substr(0, dot);
}

bool writeFile(const std::string& path, const std::string& data)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f)
        return false;
    f.write(data.data(), static_cast<std::streamsize>(data.size()));
    f.close();
    return static_cast<bool>(f);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string listingPath;
    std::string sourcePath;
    bool listing = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.size() >= 2 && (arg[0] == '-') && (arg[1] == 'l' || arg[1] == 'L')) {
            listing = true;
            listingPath = arg.substr(2);
        } else if (!arg.empty() && arg[0] == '-') {
            std::cerr << "asm8080: unknown option " << arg << "\n";
            return usage();
        } else {
            sourcePath = arg;  // the source is the last name on the line
        }
    }
    if (sourcePath.empty())
        return usage();
    const std::string base = baseName(sourcePath);
    if (listing && listingPath.empty())
        listingPath = base + ".lst";
    const std::string binPath = base + ".bin";
    const std::string hexPath = base + ".hex";

    // Outputs of an earlier run must never pass for this run's result.
    std::remove(binPath.c_str());
    std::remove(hexPath.c_str());

    std::ifstream in(sourcePath, std::ios::binary);
    if (!in) {
        std::string message = "cannot read source file " + sourcePath;
        std::cerr << "asm8080: " << message << "\n";
        if (listing)
            writeFile(listingPath, "*** Error: " + message + "\n0: " + sourcePath + "\n");
        return 1;
    }
    std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    AsmResult result = ostrovik::asm8080::assemble(source);
    for (const auto& e : result.errors)
        std::cerr << sourcePath << ":" << e.line << ": error: " << e.message << "\n";

    int status = result.ok() ? 0 : 1;
    if (listing && !writeFile(listingPath, result.listing)) {
        std::cerr << "asm8080: cannot write listing " << listingPath << "\n";
        status = 1;
    }
    if (!result.ok())
        return status;
    std::string bin(result.bytes.begin(), result.bytes.end());
    if (!writeFile(binPath, bin)) {
        std::cerr << "asm8080: cannot write " << binPath << "\n";
        return 1;
    }
    if (!writeFile(hexPath, ostrovik::asm8080::toIntelHex(result.bytes, result.origin))) {
        std::cerr << "asm8080: cannot write " << hexPath << "\n";
        return 1;
    }
    return status;
}
