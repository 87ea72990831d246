#include "tools/FontFile.hpp"

#include <algorithm>

#include "platform/RegularFile.hpp"
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
    // A FIFO or a device in the file's place is refused before a byte is
    // read; of a longer file only the font's bytes are read.
    const platform::FileRead file = platform::readRegularFile(path.string(), kFontFileSize, platform::WhenLonger::KeepPrefix);
    if (!file.ok()) {
        result.error = "Cannot open " + path.string() + ": " + file.reason;
        return result;
    }
    result.bytesRead = file.bytes.size();
    std::copy(file.bytes.begin(), file.bytes.end(), ram.begin() + kFontStart);
    if (result.bytesRead < kFontFileSize)
        result.error = "Read beyond end of file " + path.string() + ": the font stops after " +
                       std::to_string(result.bytesRead) + " of its " + std::to_string(kFontFileSize) + " bytes";
    return result;
}

} // namespace ostrovik::tools
