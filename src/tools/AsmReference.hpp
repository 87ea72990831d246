#pragma once

#include <string>
#include <vector>

namespace ostrovik::tools {

/// One instruction form of the workbench's reference list and completion popup.
struct AsmReferenceRow {
    /// The instruction with its operand placeholders: "MVI A,d8", "CALL a16".
    std::string instruction;
    std::string russian;   ///< what it does, in Russian
    std::string english;   ///< the same in English (the English help file)
    /// What the completion popup puts into the text: addresses and 16-bit
    /// operands as "h", some immediates left for the user to type.
    std::string insert;
};

/// The 245 forms, in the order of the reference list.
const std::vector<AsmReferenceRow>& asmReference();

/// One line of the reference list: instruction, tab, "операция", tab, a
/// blank, the description, and a closing tab. The English line says
/// "operation".
std::string referenceLine(const AsmReferenceRow& row, bool russian = true);

/// The description as the completion popup shows it: "h" for "a16".
std::string completionDescription(const AsmReferenceRow& row);

} // namespace ostrovik::tools
