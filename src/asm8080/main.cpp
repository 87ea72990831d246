// asm8080: the cross-assembler the assembler workbench runs as
//   asm8080 -l<listing> <source>
// It writes <base>.bin and <base>.hex beside the source and the listing.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "asm8080/Assembler.hpp"
#include "asm8080/IntelHex.hpp"

namespace {

using ostrovik::asm8080::AsmResult;

// Plain C stdio keeps the self-contained program small.
using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

int usage()
{
    std::fputs("usage: asm8080 -l<listing> <source>\n", stderr);
    return 2;
}

void report(const std::string& message)
{
    std::fprintf(stderr, "asm8080: %s\n", message.c_str());
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
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    return std::fclose(f) == 0 && ok;
}

bool readFile(const std::string& path, std::string& data)
{
    File f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f)
        return false;
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0)
        data.append(buf, n);
    return std::ferror(f.get()) == 0;
}

/// True when writing @p output would replace the file @p source: the same
/// name, or another name of the same file.
bool namesTheSource(const std::string& output, const std::string& source)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::equivalent(output, source, ec))
        return true;
    const fs::path a = fs::absolute(output, ec).lexically_normal();
    const fs::path b = fs::absolute(source, ec).lexically_normal();
    return a == b;
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
            report("unknown option " + arg);
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

    // Nothing is removed or written when an output would be the source itself.
    const std::initializer_list<const std::string*> outputs{&binPath, &hexPath, listing ? &listingPath : nullptr};
    for (const std::string* output : outputs) {
        if (output && namesTheSource(*output, sourcePath)) {
            report("output file " + *output + " would overwrite the source file " + sourcePath);
            return 1;
        }
    }

    // Outputs of an earlier run must never pass for this run's result.
    std::remove(binPath.c_str());
    std::remove(hexPath.c_str());

    std::string source;
    if (!readFile(sourcePath, source)) {
        std::string message = "cannot read source file " + sourcePath;
        report(message);
        if (listing)
            writeFile(listingPath, "*** Error: " + message + "\n0: " + sourcePath + "\n");
        return 1;
    }

    AsmResult result = ostrovik::asm8080::assemble(source);
    for (const auto& e : result.errors)
        std::fprintf(stderr, "%s:%d: error: %s\n", sourcePath.c_str(), e.line, e.message.c_str());

    int status = result.ok() ? 0 : 1;
    if (listing && !writeFile(listingPath, result.listing)) {
        report("cannot write listing " + listingPath);
        status = 1;
    }
    if (!result.ok())
        return status;
    std::string bin(result.bytes.begin(), result.bytes.end());
    if (!writeFile(binPath, bin)) {
        report("cannot write " + binPath);
        return 1;
    }
    if (!writeFile(hexPath, ostrovik::asm8080::toIntelHex(result.bytes, result.origin))) {
        report("cannot write " + hexPath);
        return 1;
    }
    return status;
}
