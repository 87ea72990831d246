#include "asm8080/Assembler.hpp"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <span>
#include <unordered_map>
#include <utility>

#include "asm8080/Encoder.hpp"
#include "asm8080/Expression.hpp"
#include "asm8080/Lexer.hpp"

namespace ostrovik::asm8080 {
namespace {

enum class Op { None, Instruction, Org, Equ, Db, Dw, Ds, End };

Op directive(const std::string& name)
{
    if (name == "ORG") return Op::Org;
    if (name == "EQU") return Op::Equ;
    if (name == "DB") return Op::Db;
    if (name == "DW") return Op::Dw;
    if (name == "DS") return Op::Ds;
    if (name == "END") return Op::End;
    return Op::None;
}

bool isOperation(const std::string& name)
{
    return directive(name) != Op::None || Encoder::instance().isMnemonic(name);
}

bool isReserved(const std::string& name)
{
    return isOperation(name) || isRegisterName(name) || isExpressionKeyword(name);
}

std::string hex(std::int64_t v, int digits)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*llX", digits, static_cast<unsigned long long>(v));
    return buf;
}

/// A value as the message shows it: decimal, and hexadecimal when that helps.
std::string showValue(std::int64_t v)
{
    std::string s = std::to_string(v);
    if (v > 9)
        s += " (" + hex(v, 1) + "h)";
    return s;
}

/// Half-open range of token indexes that makes up one operand.
struct Range {
    std::size_t begin = 0, end = 0;
};

/// One source line, lexed and cut into its fields once for all passes.
struct Statement {
    int line = 0;
    std::string text;
    std::vector<Token> tokens;
    std::string error;  ///< lexing or field error; the line then does nothing
    std::string label;
    std::string opName;
    Op op = Op::None;
    std::vector<Range> operands;
};

void splitFields(Statement& s)
{
    const auto& t = s.tokens;
    auto isName = [&](std::size_t k) { return t[k].kind == TokenKind::Name; };
    std::size_t i = 0;
    if (isName(0)) {
        const std::string& first = t[0].text;
        if (t[1].kind == TokenKind::Colon) {
            s.label = first;
            i = 2;
        } else if (t[0].column == 0) {
            // The label field may hold a name without a colon; a known
            // operation written from the first column is still an operation.
            if (!isOperation(first)) {
                s.label = first;
                i = 1;
            }
        } else if (isName(1) && t[1].text == "EQU") {
            s.label = first;
            i = 1;
        }
    }
    if (t[i].kind == TokenKind::End)
        return;
    if (!isName(i)) {
        s.error = "instruction or directive expected";
        return;
    }
    s.opName = t[i].text;
    s.op = directive(s.opName);
    if (s.op == Op::None)
        s.op = Op::Instruction;
    ++i;
    const std::size_t last = t.size() - 1;  // the End token
    if (i == last)
        return;
    int depth = 0;
    std::size_t start = i;
    for (; i <= last; ++i) {
        if (t[i].kind == TokenKind::LParen)
            ++depth;
        else if (t[i].kind == TokenKind::RParen)
            --depth;
        if ((t[i].kind == TokenKind::Comma && depth <= 0) || i == last) {
            if (i == start) {
                s.error = "empty operand";
                return;
            }
            s.operands.push_back({start, i});
            start = i + 1;
        }
    }
}

enum class Width { Byte, Word };

class Assembly {
public:
    explicit Assembly(std::string_view source) : source_(source)
    {
        // Only where each line lies is kept; every pass lexes it again, so a
        // long source costs little more memory than its own text.
        std::size_t pos = 0;
        while (pos < source.size()) {
            std::size_t nl = source.find('\n', pos);
            std::size_t end = nl == std::string_view::npos ? source.size() : nl;
            lines_.push_back({pos, end - pos});
            pos = nl == std::string_view::npos ? source.size() : nl + 1;
        }
    }

    AsmResult run()
    {
        // Layout passes until every symbol keeps its value, then the pass that
        // emits code and reports errors.
        constexpr int kMaxLayoutPasses = 8;
        for (int p = 1; p <= kMaxLayoutPasses; ++p) {
            changed_ = false;
            runPass(p, false);
            if (!changed_ && p > 1)
                break;
        }
        memory_.assign(65536, 0);
        used_.assign(65536, false);
        result_.listing = "Addr  Bytes         Line  Source\n";
        runPass(kMaxLayoutPasses + 1, true);
        if (highest_ >= lowest_) {
            result_.origin = static_cast<std::uint16_t>(lowest_);
            result_.bytes.assign(memory_.begin() + lowest_, memory_.begin() + highest_ + 1);
        }
        result_.listing += "\n" + std::to_string(result_.errors.size()) + " error(s), " +
                           std::to_string(result_.bytes.size()) + " byte(s)";
        if (!result_.bytes.empty())
            result_.listing += " from " + hex(lowest_, 4) + "h to " + hex(highest_, 4) + "h";
        result_.listing += "\n";
        return std::move(result_);
    }

private:
    struct Symbol {
        std::int64_t value = 0;
        bool known = false;
        int pass = 0;
        int line = 0;
    };

    // ---- one pass ----------------------------------------------------------

    void runPass(int pass, bool final)
    {
        pass_ = pass;
        final_ = final;
        pc_ = 0;
        Statement s;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            readStatement(i, s);
            lineStart_ = pc_;
            lineBytes_.clear();
            lineErrors_.clear();
            overlapReported_ = false;
            bool stop = doStatement(s);
            if (final_)
                writeListing(s);
            if (stop)
                break;
        }
    }

    /// Lexes line @p index into @p s, reusing its storage.
    void readStatement(std::size_t index, Statement& s) const
    {
        std::string_view line = source_.substr(lines_[index].offset, lines_[index].length);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        s.line = static_cast<int>(index + 1);
        s.text.assign(line);
        LexedLine lexed = lexLine(line);
        s.tokens = std::move(lexed.tokens);
        s.error = std::move(lexed.error);
        s.label.clear();
        s.opName.clear();
        s.op = Op::None;
        s.operands.clear();
        if (s.error.empty())
            splitFields(s);
    }

    /// Returns true when the statement ends the source.
    bool doStatement(const Statement& s)
    {
        current_ = &s;
        if (!s.error.empty()) {
            error(s.error);
            return false;
        }
        if (!s.label.empty() && s.op != Op::Equ)
            define(s.label, pc_, true, false);
        switch (s.op) {
        case Op::None: break;
        case Op::Instruction: doInstruction(s); break;
        case Op::Org: doOrg(s); break;
        case Op::Equ: doEqu(s); break;
        case Op::Db: doData(s, Width::Byte); break;
        case Op::Dw: doData(s, Width::Word); break;
        case Op::Ds: doDs(s); break;
        case Op::End:
            // END also names the address where the source ends: the project
            // template measures its code as END-START.
            define("END", pc_, true, true);
            if (s.operands.size() > 1)
                error("END takes at most one operand");
            else if (s.operands.size() == 1)
                value(s.operands[0], std::nullopt);
            return true;
        }
        return false;
    }

    void doInstruction(const Statement& s)
    {
        const Encoder& enc = Encoder::instance();
        std::vector<OperandShape> shapes;
        std::optional<Range> valueOperand;
        for (const Range& r : s.operands) {
            OperandShape shape;
            const Token& first = s.tokens[r.begin];
            if (r.end - r.begin == 1 && first.kind == TokenKind::Name && isRegisterName(first.text)) {
                shape.name = first.text;
            } else if (s.opName == "RST") {
                ExprValue v = evaluate(span(r), lineStart_, lookup());
                if (!v.error.empty() || !v.known || v.value < 0 || v.value > 7) {
                    if (v.error.empty() && v.known)
                        error("RST number must be 0 to 7, not " + showValue(v.value));
                    else
                        value(r, std::nullopt);  // reports why
                    pc_ += enc.length("RST");
                    return;
                }
                shape.name = std::to_string(v.value);
            } else {
                shape.isValue = true;
                valueOperand = r;
            }
            shapes.push_back(std::move(shape));
        }
        std::string why;
        auto encoding = enc.encode(s.opName, shapes, why);
        if (!encoding) {
            error(why);
            pc_ += enc.length(s.opName);  // keeps the addresses of the layout passes
            return;
        }
        emit(encoding->opcode);
        if (encoding->length == 1)
            return;
        Width w = encoding->length == 2 ? Width::Byte : Width::Word;
        std::int64_t v = valueOperand ? value(*valueOperand, w) : 0;
        emitValue(v, w);
    }

    void doOrg(const Statement& s)
    {
        if (s.operands.size() != 1) {
            error("ORG needs one address");
            return;
        }
        ExprValue v = evaluate(span(s.operands[0]), lineStart_, lookup());
        if (!v.error.empty() || !v.known) {
            value(s.operands[0], std::nullopt);
            return;
        }
        if (v.value < 0 || v.value > 0xFFFF) {
            error("ORG address out of range: " + showValue(v.value));
            return;
        }
        pc_ = v.value;
        lineStart_ = pc_;
    }

    void doEqu(const Statement& s)
    {
        if (s.label.empty()) {
            error("EQU needs a name in the label field");
            return;
        }
        if (s.operands.size() != 1) {
            error("EQU needs one value");
            return;
        }
        ExprValue v = evaluate(span(s.operands[0]), lineStart_, lookup());
        if (!v.error.empty() || !v.known)
            value(s.operands[0], std::nullopt);
        define(s.label, v.value, v.error.empty() && v.known, false);
        equValue_ = v.value;
    }

    void doData(const Statement& s, Width w)
    {
        if (s.operands.empty()) {
            error(std::string(w == Width::Byte ? "DB" : "DW") + " needs at least one value");
            return;
        }
        for (const Range& r : s.operands) {
            const Token& first = s.tokens[r.begin];
            if (w == Width::Byte && r.end - r.begin == 1 && first.kind == TokenKind::String) {
                for (char c : first.text)
                    emit(static_cast<std::uint8_t>(c));
                continue;
            }
            emitValue(value(r, w), w);
        }
    }

    void doDs(const Statement& s)
    {
        if (s.operands.size() != 1) {
            error("DS needs one size");
            return;
        }
        ExprValue v = evaluate(span(s.operands[0]), lineStart_, lookup());
        if (!v.error.empty() || !v.known) {
            value(s.operands[0], std::nullopt);
            return;
        }
        // Compared without adding, so that no size can wrap the counter.
        if (v.value < 0 || v.value > 0x10000 - pc_) {
            error("DS size out of range: " + showValue(v.value));
            return;
        }
        pc_ += v.value;
    }

    // ---- values and symbols ------------------------------------------------

    std::span<const Token> span(const Range& r) const
    {
        return std::span<const Token>(current_->tokens).subspan(r.begin, r.end - r.begin);
    }

    SymbolLookup lookup()
    {
        return [this](const std::string& name) -> std::optional<std::int64_t> {
            auto it = symbols_.find(name);
            if (it == symbols_.end() || !it->second.known)
                return std::nullopt;
            return it->second.value;
        };
    }

    /// Evaluates an operand; reports a malformed expression, an undefined
    /// symbol or a value that does not fit @p width. Gives 0 on any error.
    std::int64_t value(const Range& r, std::optional<Width> width)
    {
        ExprValue v = evaluate(span(r), lineStart_, lookup());
        if (!v.error.empty()) {
            error(v.error);
            return 0;
        }
        if (!v.known) {
            error("undefined symbol " + v.undefined);
            return 0;
        }
        if (width == Width::Byte && (v.value > 255 || v.value < -256)) {
            error("value out of byte range: " + showValue(v.value));
            return 0;
        }
        if (width == Width::Word && (v.value > 0xFFFF || v.value < -0x10000)) {
            error("value out of word range: " + showValue(v.value));
            return 0;
        }
        return v.value;
    }

    void define(const std::string& name, std::int64_t value, bool known, bool builtIn)
    {
        if (!builtIn && isReserved(name)) {
            error(name + " is a reserved word and cannot be a label");
            return;
        }
        auto it = symbols_.find(name);
        if (it != symbols_.end() && it->second.pass == pass_) {
            error("duplicate label " + name + " (first defined in line " + std::to_string(it->second.line) + ")");
            return;
        }
        if (it == symbols_.end()) {
            symbols_.emplace(name, Symbol{value, known, pass_, current_->line});
            changed_ = true;
            return;
        }
        Symbol& sym = it->second;
        if (sym.value != value || sym.known != known) {
            changed_ = true;
            if (final_ && known && sym.known)
                error("the value of " + name + " does not settle (circular definition)");
        }
        sym = Symbol{value, known, pass_, current_->line};
    }

    // ---- output ------------------------------------------------------------

    void emitValue(std::int64_t v, Width w)
    {
        emit(static_cast<std::uint8_t>(v & 0xFF));
        if (w == Width::Word)
            emit(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    }

    void emit(std::uint8_t byte)
    {
        if (final_) {
            if (pc_ < 0 || pc_ > 0xFFFF) {
                if (!overlapReported_)
                    error("code runs past address FFFFh");
                overlapReported_ = true;
            } else {
                auto a = static_cast<std::size_t>(pc_);
                if (used_[a] && !overlapReported_) {
                    error("address " + hex(pc_, 4) + "h is assembled twice");
                    overlapReported_ = true;
                }
                memory_[a] = byte;
                used_[a] = true;
                lowest_ = std::min<std::int64_t>(lowest_, pc_);
                highest_ = std::max<std::int64_t>(highest_, pc_);
            }
            lineBytes_.push_back(byte);
        }
        ++pc_;
    }

    void error(std::string message)
    {
        if (!final_)
            return;
        for (const auto& e : lineErrors_)
            if (e == message)
                return;
        lineErrors_.push_back(message);
        result_.errors.push_back({current_->line, std::move(message), current_->text});
    }

    void writeListing(const Statement& s)
    {
        std::string& out = result_.listing;
        char number[16];
        std::snprintf(number, sizeof number, "%5d", s.line);
        bool showAddress = !lineBytes_.empty() || (!s.label.empty() && s.op != Op::Equ) || s.op == Op::Org ||
                           s.op == Op::Ds || s.op == Op::End;
        std::string address = showAddress && lineStart_ <= 0xFFFF ? hex(lineStart_, 4) : "    ";
        std::string bytes;
        if (s.op == Op::Equ && s.error.empty() && lineErrors_.empty())
            bytes = "=" + hex(equValue_ & 0xFFFF, 4);
        for (std::size_t i = 0; i < lineBytes_.size() && i < 4; ++i)
            bytes += hex(lineBytes_[i], 2) + " ";
        bytes.resize(12, ' ');
        out += address + "  " + bytes + " " + number + "  " + s.text + "\n";
        // Long data continue on rows of their own, four bytes each.
        for (std::size_t i = 4; i < lineBytes_.size(); i += 4) {
            std::int64_t a = lineStart_ + static_cast<std::int64_t>(i);
            std::string row = a <= 0xFFFF ? hex(a, 4) + " " : "     ";
            for (std::size_t j = i; j < lineBytes_.size() && j < i + 4; ++j)
                row += " " + hex(lineBytes_[j], 2);
            out += row + "\n";
        }
        for (const auto& e : lineErrors_) {
            out += "*** Error: " + e + "\n";
            out += std::to_string(s.line) + ": " + s.text + "\n";
        }
    }

    struct LinePlace {
        std::size_t offset = 0, length = 0;
    };

    std::string_view source_;
    std::vector<LinePlace> lines_;
    std::unordered_map<std::string, Symbol> symbols_;
    int pass_ = 0;
    bool final_ = false;
    bool changed_ = false;
    std::int64_t pc_ = 0;
    std::int64_t lineStart_ = 0;
    std::int64_t equValue_ = 0;
    const Statement* current_ = nullptr;

    std::vector<std::uint8_t> memory_;
    std::vector<bool> used_;
    std::int64_t lowest_ = 0x10000;
    std::int64_t highest_ = -1;
    std::vector<std::uint8_t> lineBytes_;
    std::vector<std::string> lineErrors_;
    bool overlapReported_ = false;
    AsmResult result_;
};

}  // namespace

AsmResult assemble(std::string_view source)
{
    return Assembly(source).run();
}

}  // namespace ostrovik::asm8080
