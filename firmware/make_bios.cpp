// Wraps the assembled test ROM into bios.dat: a 22-byte text header, then the
// 16,384 bytes for 0xC000-0xFFFF (the assembler's output, padded with zeros).
//   make_bios <rom.bin> <bios.dat>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kHeader = "OSTROVIK TEST ROM 1.0\n";
static_assert(kHeader.size() == 22, "bios.dat has a 22-byte header");
constexpr std::size_t kRomSize = 16384;

int fail(const char* what, const char* path)
{
    std::fprintf(stderr, "make_bios: %s %s: %s\n", what, path, std::strerror(errno));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_bios <rom.bin> <bios.dat>\n");
        return 2;
    }
    std::FILE* in = std::fopen(argv[1], "rb");
    if (!in)
        return fail("cannot open", argv[1]);
    std::vector<unsigned char> rom;
    std::array<unsigned char, 4096> chunk;
    std::size_t n;
    while ((n = std::fread(chunk.data(), 1, chunk.size(), in)) > 0)
        rom.insert(rom.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(n));
    const bool readFailed = std::ferror(in) != 0;
    std::fclose(in);
    if (readFailed)
        return fail("cannot read", argv[1]);
    if (rom.empty() || rom.size() > kRomSize) {
        std::fprintf(stderr, "make_bios: %s holds %zu bytes; the ROM takes 1 to %zu\n", argv[1],
                     rom.size(), kRomSize);
        return 1;
    }
    rom.resize(kRomSize, 0);

    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out)
        return fail("cannot create", argv[2]);
    const bool written = std::fwrite(kHeader.data(), 1, kHeader.size(), out) == kHeader.size()
                         && std::fwrite(rom.data(), 1, rom.size(), out) == rom.size();
    if (std::fclose(out) != 0 || !written) {
        std::remove(argv[2]);
        return fail("cannot write", argv[2]);
    }
    return 0;
}
