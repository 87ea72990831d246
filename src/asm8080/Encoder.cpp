#include "asm8080/Encoder.hpp"

#include <string_view>

#include "asm8080/Expression.hpp"
#include "machine/OpcodeTable.hpp"

namespace ostrovik::asm8080 {

const Encoder& Encoder::instance()
{
    static const Encoder encoder;
    return encoder;
}

Encoder::Encoder()
{
    // The CPU's own table; its undefined opcodes are never produced.
    for (std::size_t op = 0; op < machine::kOpcodeTable.size(); ++op) {
        const auto& info = machine::kOpcodeTable[op];
        if (!info.undocumented)
            add(static_cast<std::uint8_t>(op), info.mnemonic, info.length);
    }
    // The 8085's interrupt-mask instructions, which this CPU runs as no-operations.
    add(0x20, "RIM", 1);
    add(0x30, "SIM", 1);
}

void Encoder::add(std::uint8_t opcode, std::string_view text, int length)
{
    auto blank = text.find(' ');
    std::string mnemonic(text.substr(0, blank));
    Form f{opcode, length, {}};
    if (blank != std::string_view::npos) {
        std::string_view rest = text.substr(blank + 1);
        while (!rest.empty()) {
            auto comma = rest.find(',');
            std::string op(rest.substr(0, comma));
            while (!op.empty() && op.back() == ' ')
                op.pop_back();
            while (!op.empty() && op.front() == ' ')
                op.erase(op.begin());
            OperandShape shape;
            bool rstNumber = mnemonic == "RST" && op.size() == 1 && op[0] >= '0' && op[0] <= '7';
            if (isRegisterName(op) || rstNumber)
                shape.name = op;
            else
                shape.isValue = true;  // whatever the placeholder is called
            f.operands.push_back(shape);
            if (comma == std::string_view::npos)
                break;
            rest = rest.substr(comma + 1);
        }
    }
    std::string k = key(mnemonic, f.operands);
    if (!byKey_.count(k))
        byKey_.emplace(k, Encoding{opcode, length});
    forms_[mnemonic].push_back(std::move(f));
}

std::string Encoder::key(const std::string& mnemonic, const std::vector<OperandShape>& operands)
{
    std::string k = mnemonic;
    char sep = ' ';
    for (const auto& o : operands) {
        k += sep;
        k += o.isValue ? std::string("#") : o.name;
        sep = ',';
    }
    return k;
}

bool Encoder::isMnemonic(const std::string& mnemonic) const
{
    return forms_.count(mnemonic) != 0;
}

int Encoder::length(const std::string& mnemonic) const
{
    auto it = forms_.find(mnemonic);
    return it == forms_.end() ? 0 : it->second.front().length;
}

std::optional<Encoding> Encoder::encode(const std::string& mnemonic, const std::vector<OperandShape>& operands,
                                        std::string& error) const
{
    auto it = forms_.find(mnemonic);
    if (it == forms_.end()) {
        error = "unknown mnemonic " + mnemonic;
        return std::nullopt;
    }
    if (auto found = byKey_.find(key(mnemonic, operands)); found != byKey_.end())
        return found->second;

    // Explain the mismatch: wrong count first, then the first operand no form accepts.
    const auto& forms = it->second;
    std::size_t want = forms.front().operands.size();
    if (operands.size() != want) {
        error = mnemonic + (want == 0 ? std::string(" takes no operand")
                            : want == 1 ? std::string(" needs one operand")
                                        : std::string(" needs two operands"));
        return std::nullopt;
    }
    for (std::size_t i = 0; i < operands.size(); ++i) {
        bool valueOk = false, anyRegister = false, nameOk = false;
        for (const auto& f : forms) {
            const auto& o = f.operands[i];
            valueOk = valueOk || o.isValue;
            anyRegister = anyRegister || !o.isValue;
            nameOk = nameOk || (!o.isValue && !operands[i].isValue && o.name == operands[i].name);
        }
        if (operands[i].isValue && !valueOk) {
            error = mnemonic + (mnemonic == "RST" ? std::string(": restart number must be 0 to 7")
                                                  : std::string(": register expected as operand ") +
                                                        std::to_string(i + 1));
            return std::nullopt;
        }
        if (!operands[i].isValue && !nameOk) {
            error = mnemonic + ": " + (anyRegister ? "register " + operands[i].name + " not allowed here"
                                                   : "value expected, not register " + operands[i].name);
            return std::nullopt;
        }
    }
    error = mnemonic + ": no such operand combination";
    return std::nullopt;
}

}  // namespace ostrovik::asm8080
