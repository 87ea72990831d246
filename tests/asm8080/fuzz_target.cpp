// Fuzz entry point for the assembler: any bytes are a source; nothing may
// crash, and the result must keep its promises.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "asm8080/Assembler.hpp"
#include "asm8080/IntelHex.hpp"

namespace {

void check(bool ok, const char* what, std::string_view source)
{
    if (ok)
        return;
    std::fprintf(stderr, "assembler fuzz: %s\nsource (%zu bytes):\n%.*s\n", what, source.size(),
                 static_cast<int>(source.size()), source.data());
    std::abort();
}

std::size_t count(const std::string& text, std::string_view what)
{
    std::size_t n = 0;
    for (auto pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1))
        ++n;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view source(reinterpret_cast<const char*>(data), size);
    auto r = ostrovik::asm8080::assemble(source);
    check(r.bytes.size() <= 65536, "image larger than 64 KB", source);
    check(r.origin + r.bytes.size() <= 65536, "image runs past FFFFh", source);
    // Each error gives exactly one "*** Error" line (the place line repeats
    // the source, which may itself contain the text).
    check(count(r.listing, "*** Error") >= r.errors.size(), "error missing from the listing", source);
    for (const auto& e : r.errors)
        check(!e.message.empty() && e.line >= 1, "error without message or line", source);
    if (r.ok())
        check(!ostrovik::asm8080::toIntelHex(r.bytes, r.origin).empty(), "empty HEX", source);
    return 0;
}
