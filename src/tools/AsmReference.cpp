#include "tools/AsmReference.hpp"

#include <array>
#include <string_view>

namespace ostrovik::tools {

namespace {

constexpr std::array<std::string_view, 8> kRegisters = {"A", "B", "C", "D", "E", "H", "L", "M"};

struct Condition {
    std::string_view suffix;
    std::string_view russian;
    std::string_view english;
};

constexpr std::array<Condition, 8> kConditions = {{
    {"Z", "Z=1 (ноль)", "Z=1 (zero)"},
    {"NZ", "Z=0 (не ноль)", "Z=0 (not zero)"},
    {"P", "S=0 (плюс)", "S=0 (plus)"},
    {"M", "S=1 (минус)", "S=1 (minus)"},
    {"C", "CY=1 (перенос)", "CY=1 (carry)"},
    {"NC", "CY=0 (нет переноса)", "CY=0 (no carry)"},
    {"PE", "P=1 (чётно)", "P=1 (parity even)"},
    {"PO", "P=0 (нечётно)", "P=0 (parity odd)"},
}};

/// Replaces every "%" of @p pattern by @p value.
std::string fill(std::string_view pattern, std::string_view value)
{
    std::string out;
    for (char c : pattern) {
        if (c == '%')
            out += value;
        else
            out += c;
    }
    return out;
}

/// The table's rows, built once from the instruction families.
class Builder {
public:
    std::vector<AsmReferenceRow> rows;

    void one(std::string_view instruction, std::string_view russian, std::string_view english,
             std::string_view insert = {})
    {
        rows.push_back({std::string(instruction), std::string(russian), std::string(english),
                        std::string(insert.empty() ? instruction : insert)});
    }

    /// One row per register A … M; "%" stands for the register.
    void perRegister(std::string_view name, std::string_view russian, std::string_view english)
    {
        for (std::string_view r : kRegisters) {
            const std::string instruction = std::string(name) + " " + std::string(r);
            one(instruction, fill(russian, r), fill(english, r));
        }
    }

    /// One row per register pair of @p pairs.
    void perPair(std::string_view name, std::initializer_list<std::string_view> pairs, std::string_view russian,
                 std::string_view english)
    {
        for (std::string_view p : pairs) {
            const std::string instruction = std::string(name) + " " + std::string(p);
            one(instruction, fill(russian, p), fill(english, p));
        }
    }

    /// The eight conditional forms of a call, jump or return.
    void perCondition(char first, std::string_view operand, std::string_view russian, std::string_view english,
                      std::string_view insertOperand)
    {
        for (const Condition& c : kConditions) {
            const std::string name = std::string(1, first) + std::string(c.suffix);
            one(name + std::string(operand), std::string(russian) + std::string(c.russian),
                std::string(english) + std::string(c.english), name + std::string(insertOperand));
        }
    }
};

std::vector<AsmReferenceRow> buildReference()
{
    Builder b;
    b.perRegister("ADD", "A<(A) + (%)", "A<(A) + (%)");
    b.one("ADI d8", "A<d8 + (A)", "A<d8 + (A)", "ADI ");
    b.perRegister("ADC", "A<(A) + (%) + CY", "A<(A) + (%) + CY");
    // The one immediate the popup writes out in full.
    b.one("ACI d8", "A<d8 + (A) + CY", "A<d8 + (A) + CY", "ACI d8");
    b.perRegister("ANA", "A<(A) И (%)", "A<(A) AND (%)");
    b.one("ANI d8", "A<(A) И d8", "A<(A) AND d8", "ANI ");
    b.one("CALL a16", "Передать управление подпрограмме по адресу a16", "Call the subroutine at address a16",
          "CALL h");
    b.perCondition('C', " a16", "Вызвать подпрограмму по адресу a16, если ", "Call the subroutine at a16 if ", " h");
    b.one("CMA", "A<НЕ (A), инвертировать аккумулятор", "A<NOT (A), complement the accumulator");
    b.one("CMC", "CY<НЕ CY, инвертировать перенос", "CY<NOT CY, complement the carry");
    b.perRegister("CMP", "Сравнить A с (%), установить флаги", "Compare A with (%), set the flags");
    b.one("CPI d8", "Сравнить A с d8, установить флаги", "Compare A with d8, set the flags", "CPI ");
    b.one("DAA", "Десятичная коррекция аккумулятора", "Decimal adjust the accumulator");
    b.perPair("DAD", {"B", "D", "H", "SP"}, "HL<(HL) + (%)", "HL<(HL) + (%)");
    b.perRegister("DCR", "%<(%) - 1", "%<(%) - 1");
    b.perPair("DCX", {"B", "D", "H", "SP"}, "%<(%) - 1", "%<(%) - 1");
    b.one("DI", "Запретить прерывания", "Disable interrupts");
    b.one("EI", "Разрешить прерывания", "Enable interrupts");
    b.one("HLT", "Остановить процессор", "Halt the processor");
    b.one("IN pp", "Прочитать в A байт из порта pp", "Read a byte from port pp into A", "IN ");
    b.perRegister("INR", "%<(%) + 1", "%<(%) + 1");
    b.perPair("INX", {"B", "D", "H", "SP"}, "%<(%) + 1", "%<(%) + 1");
    b.one("JMP a16", "Перейти по адресу a16", "Jump to address a16", "JMP h");
    b.perCondition('J', " a16", "Перейти по адресу a16, если ", "Jump to a16 if ", " h");
    b.one("LDA a16", "A<(a16), загрузить A из памяти", "A<(a16), load A from memory", "LDA h");
    b.perPair("LDAX", {"B", "D"}, "A<((%)), загрузить A по адресу из пары %", "A<((%)), load A from the address in %");
    b.one("LHLD a16", "L<(a16), H<(a16+1)", "L<(a16), H<(a16+1)", "LHLD h");
    for (std::string_view p : {"B", "H", "SP"})
        b.one(std::string("LXI ") + std::string(p) + ",d16", fill("%<d16", p), fill("%<d16", p),
              std::string("LXI ") + std::string(p) + ",h");
    for (std::string_view to : kRegisters)
        for (std::string_view from : kRegisters)
            if (to != "M" || from != "M")
                b.one("MOV " + std::string(to) + "," + std::string(from),
                      std::string(to) + "<(" + std::string(from) + ")", std::string(to) + "<(" + std::string(from) + ")");
    for (std::string_view r : kRegisters)
        b.one("MVI " + std::string(r) + ",d8", std::string(r) + "<d8", std::string(r) + "<d8",
              "MVI " + std::string(r) + ",");
    b.one("NOP", "Нет операции", "No operation");
    b.perRegister("ORA", "A<(A) ИЛИ (%)", "A<(A) OR (%)");
    b.one("ORI d8", "A<(A) ИЛИ d8", "A<(A) OR d8", "ORI ");
    b.one("OUT Port", "Записать A в порт Port например 0C1h", "Write A to port Port, for example 0C1h", "OUT h");
    b.one("PCHL", "PC<(HL), перейти по адресу из HL", "PC<(HL), jump to the address in HL");
    b.perPair("POP", {"B", "D", "H", "PSW"}, "Снять % со стека", "Pop % from the stack");
    b.perPair("PUSH", {"B", "D", "H", "PSW"}, "Положить % в стек", "Push % onto the stack");
    b.one("RAL", "Сдвинуть A влево через перенос", "Rotate A left through the carry");
    b.one("RAR", "Сдвинуть A вправо через перенос", "Rotate A right through the carry");
    b.one("RLC", "Сдвинуть A влево по кругу", "Rotate A left");
    b.one("RRC", "Сдвинуть A вправо по кругу", "Rotate A right");
    b.one("RIM", "Прочитать маску прерываний (только 8085)", "Read the interrupt mask (8085 only)");
    b.one("RET", "Вернуться из подпрограммы", "Return from the subroutine");
    b.perCondition('R', "", "Вернуться из подпрограммы, если ", "Return if ", "");
    static constexpr std::array<std::string_view, 8> kRstAddress = {"0h", "8h", "10h", "18h", "20h", "28h", "30h", "38h"};
    for (int n = 0; n < 8; ++n) {
        const std::string instruction = "RST " + std::to_string(n);
        b.one(instruction, "Запуск программы с адреса " + std::string(kRstAddress[n]),
              "Run the program at address " + std::string(kRstAddress[n]));
    }
    b.one("SIM", "Установить маску прерываний (только 8085)", "Set the interrupt mask (8085 only)");
    b.one("SPHL", "SP<(HL)", "SP<(HL)");
    b.one("SHLD a16", "(a16)<L, (a16+1)<H", "(a16)<L, (a16+1)<H", "SHLD h");
    b.one("STA a16", "(a16)<A, записать A в память", "(a16)<A, store A in memory", "STA h");
    b.perPair("STAX", {"B", "D"}, "((%))<A, записать A по адресу из пары %", "((%))<A, store A at the address in %");
    b.one("STC", "CY<1", "CY<1");
    b.perRegister("SUB", "A<(A) - (%)", "A<(A) - (%)");
    b.one("SUI d8", "A<(A) - d8", "A<(A) - d8", "SUI ");
    b.perRegister("SBB", "A<(A) - (%) - CY", "A<(A) - (%) - CY");
    b.one("SBI d8", "A<(A) - d8 - CY", "A<(A) - d8 - CY", "SBI ");
    b.one("XCHG", "Обменять HL и DE", "Exchange HL and DE");
    b.one("XTHL", "Обменять HL и вершину стека", "Exchange HL and the top of the stack");
    b.perRegister("XRA", "A<(A) ИСКЛ.ИЛИ (%)", "A<(A) XOR (%)");
    b.one("XRI d8", "A<(A) ИСКЛ.ИЛИ d8", "A<(A) XOR d8", "XRI ");
    return std::move(b.rows);
}

} // namespace

const std::vector<AsmReferenceRow>& asmReference()
{
    static const std::vector<AsmReferenceRow> rows = buildReference();
    return rows;
}

std::string referenceLine(const AsmReferenceRow& row, bool russian)
{
    return row.instruction + (russian ? "\tоперация\t " + row.russian : "\toperation\t " + row.english) + "\t";
}

std::string completionDescription(const AsmReferenceRow& row)
{
    std::string out = row.russian;
    for (std::size_t at = out.find("a16"); at != std::string::npos; at = out.find("a16", at + 1))
        out.replace(at, 3, "h");
    return out;
}

} // namespace ostrovik::tools
