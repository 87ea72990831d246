#include "tools/PictureLvt.hpp"

#include <stdexcept>

#include "files/Bytes.hpp"
#include "files/TapeImage.hpp"
#include "platform/RegularFile.hpp"
#include "platform/WholeFile.hpp"

namespace ostrovik::tools {

namespace {

constexpr std::uint16_t kScreenStart = 0x4000;
constexpr std::uint16_t kStubStart = 0x8000;

void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace

const std::array<std::uint8_t, 29> kDisplayStub = {
    0x3E, kStubPalette,     // 8000 MVI A,0C8h
    0xD3, 0xC1,             // 8002 OUT 0C1h
    0x21, 0x00, 0x40,       // 8004 LXI H,4000h
    0x46,                   // 8007 MOV B,M
    0x3E, 0x00,             // 8008 MVI A,00h
    0xD3, 0xC2,             // 800A OUT 0C2h    video RAM in view
    0x70,                   // 800C MOV M,B
    0x3E, 0x02,             // 800D MVI A,02h
    0xD3, 0xC2,             // 800F OUT 0C2h    all RAM again
    0x23,                   // 8011 INX H
    0x7C,                   // 8012 MOV A,H
    0xFE, 0x80,             // 8013 CPI 80h
    0xDA, 0x07, 0x80,       // 8015 JC 8007h
    0xCD, 0x03, 0xF8,       // 8018 CALL 0F803h
    0xC9,                   // 801B RET
    0x00,                   // 801C
};

std::vector<std::uint8_t> workBitmap(std::span<const std::uint8_t> indices)
{
    if (indices.size() != kScreenPixels)
        throw std::invalid_argument("workBitmap: the picture is not 256 x 256");
    std::vector<std::uint8_t> out(kWorkPixelOffset + kScreenPixels);
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, static_cast<std::uint32_t>(out.size()));
    put32(out, 10, kWorkPixelOffset);
    put32(out, 14, 40);          // header size
    put32(out, 18, kScreenSide); // width
    put32(out, 22, kScreenSide); // height: positive, bottom row first
    out[26] = 1;                 // planes
    out[28] = 8;                 // bits per pixel
    put32(out, 34, static_cast<std::uint32_t>(kScreenPixels));
    put32(out, 38, 2835);        // 72 dots per inch
    put32(out, 42, 2835);
    put32(out, 46, 256);         // colours used
    const auto& palette = workPalette();
    for (std::size_t i = 0; i < palette.size(); ++i)
        put32(out, 54 + 4 * i, palette[i]); // blue, green, red, 0
    for (int row = 0; row < kScreenSide; ++row) {
        const auto* src = indices.data() + static_cast<std::size_t>(kScreenSide - 1 - row) * kScreenSide;
        std::copy(src, src + kScreenSide, out.begin() + static_cast<std::ptrdiff_t>(kWorkPixelOffset) +
                                              static_cast<std::ptrdiff_t>(row) * kScreenSide);
    }
    return out;
}

ScreenImage screenImageFromWorkBitmap(std::span<const std::uint8_t> file)
{
    if (file.size() < kWorkPixelOffset + kScreenPixels)
        throw std::runtime_error("The work picture " + std::string(kWorkFileName) + " holds " +
                                 std::to_string(file.size()) + " bytes, too few for 256 x 256 pixels");
    ScreenImage screen{};
    for (std::size_t g = 0; g < kScreenImageSize; ++g) {
        const std::uint8_t* p = file.data() + kWorkPixelOffset + 4 * g;
        std::uint8_t b = 0;
        for (int j = 0; j < 4; ++j) {
            b = static_cast<std::uint8_t>(b | ((p[j] >> 1) & 1) << (4 + j) | (p[j] & 1) << j);
        }
        screen[kScreenImageSize - 1 - g] = b;
    }
    return screen;
}

std::vector<std::uint8_t> pictureLvt(const ScreenImage& screen, std::uint8_t palette)
{
    files::LvtHeader header;
    header.fileType = files::kLvtMachineCode;
    header.tapeName = {'B', 'M', 'P', 'L', 'V', 'T'};
    header.startAddr = kScreenStart;
    header.endAddr = static_cast<std::uint16_t>(kStubStart + kDisplayStub.size() - 1);
    header.runAddr = kStubStart;
    const auto head = files::serialiseLvtHeader(header);

    std::vector<std::uint8_t> out;
    out.reserve(kPictureLvtSize);
    out.insert(out.end(), head.begin(), head.end());
    out.insert(out.end(), screen.begin(), screen.end());
    out.insert(out.end(), kDisplayStub.begin(), kDisplayStub.end());
    out[kPaletteOperandOffset] = palette;
    return out;
}

std::filesystem::path pictureLvtPath(const std::filesystem::path& programDir, std::string_view prefix,
                                     std::string_view name)
{
    return programDir / "PicToLVT" / (std::string(prefix) + std::string(name) + ".lvt");
}

void saveWorkBitmap(const std::filesystem::path& programDir, std::span<const std::uint8_t> indices)
{
    writeWholeFile(programDir / kWorkFileName, workBitmap(mirrorRows(indices)));
}

std::filesystem::path writePictureLvt(const std::filesystem::path& programDir, std::string_view prefix,
                                      std::string_view name, std::uint8_t palette)
{
    const std::filesystem::path work = programDir / kWorkFileName;
    const ScreenImage screen = screenImageFromWorkBitmap(readWholeFile(work));
    const std::filesystem::path out = pictureLvtPath(programDir, prefix, name);
    writeWholeFile(out, pictureLvt(screen, palette));
    std::error_code ignored;
    std::filesystem::remove(work, ignored);
    return out;
}

void writeWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    // A write cut short (a full disk) leaves no file under the name.
    const platform::FileWrite written = platform::writeWholeFile(
        path.string(), std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!written.ok)
        throw std::runtime_error((written.created ? "Cannot write " : "Cannot create ") + path.string() + ": " +
                                 written.reason);
}

std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path)
{
    const platform::FileRead file = platform::readRegularFile(path.string(), kMaxWholeFileBytes);
    if (!file.ok())
        throw std::runtime_error("Cannot read " + path.string() + ": " + file.reason);
    return std::vector<std::uint8_t>(file.bytes.begin(), file.bytes.end());
}

} // namespace ostrovik::tools
