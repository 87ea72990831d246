#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ostrovik::asm8080 {

/// One error, tied to the source line where it was found.
struct AsmError {
    int line = 0;             ///< 1-based source line number
    std::string message;      ///< readable text, no "error" prefix
    std::string sourceLine;   ///< the line as written (without its line break)
};

/// Everything one assembly produces.
struct AsmResult {
    /// The assembled bytes from the lowest assembled address upward; gaps
    /// (DS, ORG jumps) are zero. Empty when nothing was assembled.
    std::vector<std::uint8_t> bytes;
    /// Address of bytes[0]; 0 when nothing was assembled.
    std::uint16_t origin = 0;
    /// The listing: address, bytes, line number and source text per line, and
    /// a "*** Error" line followed by a place line for every error.
    std::string listing;
    std::vector<AsmError> errors;

    bool ok() const { return errors.empty(); }
};

/// Assembles 8080 source text (lines ending in LF or CR LF).
AsmResult assemble(std::string_view source);

}  // namespace ostrovik::asm8080
