#include "tools/AsmTexts.hpp"

namespace ostrovik::tools {

// Fields are separated by one tab; a line without a label begins with it.
const std::string_view kAsmInitialText =
    "; Программа цветовой глюк :-)\n"
    "BEGIN\tEQU\t8000h\n"
    "\tORG\tBEGIN-016h\n"
    "\n"
    "\tDB\t\"RIZI/2.0/\"\n"
    "\tDB\t0D0h\n"
    "\tDB\t\"PROBA1\"\n"
    "\tDW\tBEGIN\n"
    "\tDW\tBEGIN+END-START\n"
    "\tDW\tBEGIN\n"
    "\n"
    "START:\tMVI A,00h ;example\n"
    "LAB1:   OUT 0C1h\n"
    "        INR A\n"
    "        JMP LAB1\n"
    "END";

// The blank after the first "DW BEGIN" and the tab after "START:" are part
// of the template.
const std::string_view kAsmNewProject =
    "\n"
    "BEGIN\tEQU\t8000h\n"
    "\tORG\tBEGIN-016h\n"
    "\n"
    "\tDB\t\"RIZI/2.0/\"\n"
    "\tDB\t0D0h\n"
    "\tDB\t\"PROBA1\"\n"
    "\tDW\tBEGIN \n"
    "\tDW\tBEGIN+END-START\n"
    "\tDW\tBEGIN\n"
    "\n"
    "START:\t\n"
    "\n"
    "END";

} // namespace ostrovik::tools
