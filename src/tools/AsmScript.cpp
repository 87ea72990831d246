#include "tools/AsmScript.hpp"

#include <filesystem>
#include <system_error>

namespace ostrovik::tools {

std::string shellQuote(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 2);
    out += '\'';
    for (char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    out += '\'';
    return out;
}

std::string scriptPath(const std::string& path)
{
    namespace fs = std::filesystem;
    if (path.empty())
        return path;
    std::error_code ec;
    const fs::path absolute = fs::absolute(fs::path(path), ec);
    return ec ? path : absolute.string();
}

std::vector<std::string> buildScriptLines(const std::string& workFolder, const std::string& lvtFolder)
{
    const std::string lvt = shellQuote(scriptPath(lvtFolder));
    return {
        "#!/bin/sh",
        // Never run the removals below anywhere but in the work folder.
        "cd " + shellQuote(scriptPath(workFolder)) + " || exit 1",
        "./asm.exe -ltemp.lst " + shellQuote(scriptPath(workFolder + "temp.asm")),
        "mv -f -- temp.lst " + lvt + "/temp.lst",
        "mv -f -- temp.bin " + lvt + "/temp.lvt",
        "rm -f temp.asm",
        "rm -f temp.hex",
        "rm -f asm.exe",
        "rm -f asm.cmd",
        "exit",
    };
}

} // namespace ostrovik::tools
