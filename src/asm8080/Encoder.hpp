#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ostrovik::asm8080 {

/// One operand as the source wrote it: a register name (or an RST number)
/// that is part of the instruction form, or a value to be encoded after it.
struct OperandShape {
    bool isValue = false;
    std::string name;  ///< register name or RST digit when !isValue
};

/// The opcode chosen for an instruction, and how many bytes it takes.
struct Encoding {
    std::uint8_t opcode = 0;
    int length = 1;  ///< 2: one value byte follows, 3: a value word follows
};

/// Reverse lookup of the CPU's opcode table: mnemonic and operand shapes to
/// the documented opcode. Built once from the same table the interpreter and
/// the disassembler use, so the three cannot disagree.
class Encoder {
public:
    static const Encoder& instance();

    bool isMnemonic(const std::string& mnemonic) const;
    /// Every form of an 8080 mnemonic has the same length; 0 when unknown.
    int length(const std::string& mnemonic) const;
    /// The encoding, or an explanation of why the operands do not fit.
    std::optional<Encoding> encode(const std::string& mnemonic, const std::vector<OperandShape>& operands,
                                   std::string& error) const;

private:
    Encoder();
    struct Form {
        std::uint8_t opcode;
        int length;
        std::vector<OperandShape> operands;
    };
    static std::string key(const std::string& mnemonic, const std::vector<OperandShape>& operands);
    void add(std::uint8_t opcode, std::string_view form, int length);

    std::unordered_map<std::string, std::vector<Form>> forms_;  // by mnemonic
    std::unordered_map<std::string, Encoding> byKey_;
};

}  // namespace ostrovik::asm8080
