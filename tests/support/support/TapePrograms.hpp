#pragma once

#include <QtGlobal>

#include <cstdint>
#include <string>
#include <vector>

#include "asm8080/Assembler.hpp"

namespace ostrovik::test {

/// The tape file that @p source (in the editor's template form) assembles to.
inline std::vector<std::uint8_t> assembledTape(const std::string& source)
{
    const asm8080::AsmResult image = asm8080::assemble(source);
    if (!image.ok())
        qFatal("%s", image.listing.c_str());
    return image.bytes;
}

/// The source of program COUNT1: loaded at @p begin, it counts at
/// @p begin + 100h for ever. @p begin is four hex digits ("8000").
inline std::string counterSource(const std::string& begin)
{
    return "BEGIN\tEQU\t" + begin + "h\n\tORG\tBEGIN-016h\n\tDB\t\"RIZI/2.0/\"\n\tDB\t0D0h\n\tDB\t\"COUNT1\"\n"
           "\tDW\tBEGIN\n\tDW\tBEGIN+END-START-1\n\tDW\tBEGIN\nSTART:\tLXI H,BEGIN+100h\nLOOP:\tINR M\n\tJMP LOOP\nEND\n";
}

} // namespace ostrovik::test
