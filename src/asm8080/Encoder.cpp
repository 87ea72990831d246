#include "asm8080/Encoder.hpp"

#include <array>
#include <string_view>

#include "asm8080/Expression.hpp"

namespace ostrovik::asm8080 {
namespace {

// Opcodes Intel leaves undefined; the assembler never produces them, except
// 20h and 30h under their 8085 names RIM and SIM.
constexpr std::array<std::uint8_t, 12> kUndocumented{0x08, 0x10, 0x18, 0x20, 0x28, 0x30,
                                                     0x38, 0xCB, 0xD9, 0xDD, 0xED, 0xFD};

bool isUndocumented(std::uint8_t op)
{
    for (auto u : kUndocumented)
        if (u == op)
            return true;
    return false;
}

// Until the CPU's shared opcode table exists, the forms are spelled here in
// the usual Intel order.
constexpr std::array<const char*, 8> kReg{"B", "C", "D", "E", "H", "L", "M", "A"};
constexpr std::array<const char*, 4> kPair{"B", "D", "H", "SP"};
constexpr std::array<const char*, 4> kPairPsw{"B", "D", "H", "PSW"};
constexpr std::array<const char*, 8> kAlu{"ADD", "ADC", "SUB", "SBB", "ANA", "XRA", "ORA", "CMP"};
constexpr std::array<const char*, 8> kAluImm{"ADI", "ACI", "SUI", "SBI", "ANI", "XRI", "ORI", "CPI"};
constexpr std::array<const char*, 8> kCond{"NZ", "Z", "NC", "C", "PO", "PE", "P", "M"};

struct FormText {
    std::string text;
    int length = 1;
};

std::array<FormText, 256> buildForms()
{
    std::array<FormText, 256> f{};
    auto set = [&](int op, std::string text, int len) { f[static_cast<std::size_t>(op)] = {std::move(text), len}; };
    for (int op = 0; op < 256; ++op)
        set(op, "NOP", 1);
    static constexpr std::array<const char*, 8> rot{"RLC", "RRC", "RAL", "RAR", "DAA", "CMA", "STC", "CMC"};
    for (int i = 0; i < 8; ++i) {
        set(0x04 + 8 * i, std::string("INR ") + kReg[i], 1);
        set(0x05 + 8 * i, std::string("DCR ") + kReg[i], 1);
        set(0x06 + 8 * i, std::string("MVI ") + kReg[i] + ",d8", 2);
        set(0x07 + 8 * i, rot[i], 1);
        for (int j = 0; j < 8; ++j)
            set(0x40 + 8 * i + j, std::string("MOV ") + kReg[i] + "," + kReg[j], 1);
        for (int j = 0; j < 8; ++j)
            set(0x80 + 8 * i + j, std::string(kAlu[i]) + " " + kReg[j], 1);
        set(0xC6 + 8 * i, std::string(kAluImm[i]) + " d8", 2);
        set(0xC0 + 8 * i, std::string("R") + kCond[i], 1);
        set(0xC2 + 8 * i, std::string("J") + kCond[i] + " a16", 3);
        set(0xC4 + 8 * i, std::string("C") + kCond[i] + " a16", 3);
        set(0xC7 + 8 * i, "RST " + std::to_string(i), 1);
    }
    for (int p = 0; p < 4; ++p) {
        set(0x01 + 16 * p, std::string("LXI ") + kPair[p] + ",d16", 3);
        set(0x03 + 16 * p, std::string("INX ") + kPair[p], 1);
        set(0x09 + 16 * p, std::string("DAD ") + kPair[p], 1);
        set(0x0B + 16 * p, std::string("DCX ") + kPair[p], 1);
        set(0xC1 + 16 * p, std::string("POP ") + kPairPsw[p], 1);
        set(0xC5 + 16 * p, std::string("PUSH ") + kPairPsw[p], 1);
    }
    set(0x02, "STAX B", 1);
    set(0x12, "STAX D", 1);
    set(0x0A, "LDAX B", 1);
    set(0x1A, "LDAX D", 1);
    set(0x22, "SHLD a16", 3);
    set(0x2A, "LHLD a16", 3);
    set(0x32, "STA a16", 3);
    set(0x3A, "LDA a16", 3);
    set(0x76, "HLT", 1);
    set(0xC3, "JMP a16", 3);
    set(0xC9, "RET", 1);
    set(0xCD, "CALL a16", 3);
    set(0xD3, "OUT d8", 2);
    set(0xDB, "IN d8", 2);
    set(0xE3, "XTHL", 1);
    set(0xE9, "PCHL", 1);
    set(0xEB, "XCHG", 1);
    set(0xF3, "DI", 1);
    set(0xF9, "SPHL", 1);
    set(0xFB, "EI", 1);
    return f;
}

}  // namespace

const Encoder& Encoder::instance()
{
    static const Encoder encoder;
    return encoder;
}

Encoder::Encoder()
{
    const auto forms = buildForms();
    for (int op = 0; op < 256; ++op) {
        auto code = static_cast<std::uint8_t>(op);
        if (!isUndocumented(code))
            add(code, forms[static_cast<std::size_t>(op)].text.c_str(), forms[static_cast<std::size_t>(op)].length);
    }
    // The 8085's interrupt-mask instructions, which this CPU runs as no-operations.
    add(0x20, "RIM", 1);
    add(0x30, "SIM", 1);
}

void Encoder::add(std::uint8_t opcode, const char* form, int length)
{
    std::string_view text(form);
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
