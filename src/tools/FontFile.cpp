#include "tools/FontFile.hpp"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "tools/PictureLvt.hpp"

namespace ostrovik::tools {

std::string fontFileName(std::string_view stamp)
{
    return "FONTS_" + std::string(stamp) + ".fnt";
}

void saveFont(const std::filesystem::path& path, const MachineRam& ram)
{
    writeWholeFile(path, std::span<const std::uint8_t>(ram.data() + kFontStart, kFontFileSize));
}

FontLoad loadFont(const std::filesystem::path& path, MachineRam& ram)
{
    FontLoad result;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        result.error = "Cannot open " + path.string() + ": " +
                       std::error_code(errno, std::generic_category()).message();
        return result;
    }
    for (; result.bytesRead < kFontFileSize; ++result.bytesRead) {
        const int c = std::fgetc(f);
        if (c == EOF) {
            result.error = "Read beyond end of file " + path.string() + ": the font stops after " +
                           std::to_string(result.bytesRead) + " of its " + std::to_string(kFontFileSize) +
                           " bytes";
            break;
        }
        ram[kFontStart + result.bytesRead] = static_cast<std::uint8_t>(c);
    }
    std::fclose(f);
    return result;
}

} // namespace ostrovik::tools
