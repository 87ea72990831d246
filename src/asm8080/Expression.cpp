#include "asm8080/Expression.hpp"

#include <array>
#include <limits>

namespace ostrovik::asm8080 {
namespace {

// Deep enough for any real source, shallow enough that hostile input cannot
// exhaust the stack.
constexpr int kMaxDepth = 64;

std::int64_t wrapAdd(std::int64_t a, std::int64_t b)
{
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) + static_cast<std::uint64_t>(b));
}
std::int64_t wrapSub(std::int64_t a, std::int64_t b)
{
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) - static_cast<std::uint64_t>(b));
}
std::int64_t wrapMul(std::int64_t a, std::int64_t b)
{
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) * static_cast<std::uint64_t>(b));
}

/// A negative value is taken as its 16-bit two's complement, the way the
/// 8080 would hold it, so that HIGH -1 and -1 SHR 8 give FFh.
std::uint64_t asUnsigned(std::int64_t v)
{
    return v < 0 ? static_cast<std::uint64_t>(v) & 0xFFFFu : static_cast<std::uint64_t>(v);
}

class Parser {
public:
    Parser(std::span<const Token> tokens, std::int64_t dollar, const SymbolLookup& lookup, ExprValue& out)
        : tokens_(tokens), dollar_(dollar), lookup_(lookup), out_(out)
    {
    }

    void run()
    {
        if (peek().kind == TokenKind::End) {
            fail("value expected");
            return;
        }
        std::int64_t v = parseOr();
        if (failed())
            return;
        if (peek().kind != TokenKind::End) {
            fail("unexpected " + describe(peek()) + " in expression");
            return;
        }
        out_.value = v;
    }

private:
    const Token& peek() const
    {
        static const Token end{};
        return pos_ < tokens_.size() ? tokens_[pos_] : end;
    }
    bool peekName(const char* word) const { return peek().kind == TokenKind::Name && peek().text == word; }
    bool failed() const { return !out_.error.empty(); }
    void fail(std::string message)
    {
        if (out_.error.empty())
            out_.error = std::move(message);
    }

    static std::string describe(const Token& t)
    {
        switch (t.kind) {
        case TokenKind::Name: return "'" + t.text + "'";
        case TokenKind::Number: return "number " + t.text;
        case TokenKind::String: return "string";
        case TokenKind::Dollar: return "'$'";
        case TokenKind::Comma: return "','";
        case TokenKind::Colon: return "':'";
        case TokenKind::LParen: return "'('";
        case TokenKind::RParen: return "')'";
        case TokenKind::Plus: return "'+'";
        case TokenKind::Minus: return "'-'";
        case TokenKind::Star: return "'*'";
        case TokenKind::Slash: return "'/'";
        case TokenKind::End: return "end of line";
        }
        return "token";
    }

    bool enter()
    {
        if (++depth_ > kMaxDepth) {
            fail("expression nested too deeply");
            return false;
        }
        return true;
    }

    std::int64_t parseOr()
    {
        std::int64_t v = parseAnd();
        while (!failed()) {
            if (peekName("OR")) {
                ++pos_;
                v |= parseAnd();
            } else if (peekName("XOR")) {
                ++pos_;
                v ^= parseAnd();
            } else {
                break;
            }
        }
        return v;
    }

    std::int64_t parseAnd()
    {
        std::int64_t v = parseNot();
        while (!failed() && peekName("AND")) {
            ++pos_;
            v &= parseNot();
        }
        return v;
    }

    std::int64_t parseNot()
    {
        if (peekName("NOT")) {
            ++pos_;
            if (!enter())
                return 0;
            std::int64_t v = ~parseNot();
            --depth_;
            return v;
        }
        return parseSum();
    }

    std::int64_t parseSum()
    {
        std::int64_t v = parseProduct();
        while (!failed()) {
            if (peek().kind == TokenKind::Plus) {
                ++pos_;
                v = wrapAdd(v, parseProduct());
            } else if (peek().kind == TokenKind::Minus) {
                ++pos_;
                v = wrapSub(v, parseProduct());
            } else {
                break;
            }
        }
        return v;
    }

    std::int64_t parseProduct()
    {
        std::int64_t v = parseUnary();
        while (!failed()) {
            const Token& t = peek();
            if (t.kind == TokenKind::Star) {
                ++pos_;
                v = wrapMul(v, parseUnary());
            } else if (t.kind == TokenKind::Slash || (t.kind == TokenKind::Name && t.text == "MOD")) {
                bool mod = t.kind == TokenKind::Name;
                ++pos_;
                std::int64_t d = parseUnary();
                if (failed())
                    break;
                if (d == 0) {
                    // A divisor still unknown in an early pass is not yet an error.
                    if (out_.known)
                        fail(mod ? "MOD by zero" : "division by zero");
                    v = 0;
                } else if (d == -1) {
                    v = mod ? 0 : wrapSub(0, v);
                } else {
                    v = mod ? v % d : v / d;
                }
            } else if (t.kind == TokenKind::Name && (t.text == "SHL" || t.text == "SHR")) {
                bool left = t.text == "SHL";
                ++pos_;
                std::int64_t n = parseUnary();
                if (failed())
                    break;
                if (n < 0 || n >= 64)
                    v = 0;
                else if (left)
                    v = static_cast<std::int64_t>(static_cast<std::uint64_t>(v) << n);
                else
                    v = static_cast<std::int64_t>(asUnsigned(v) >> n);
            } else {
                break;
            }
        }
        return v;
    }

    std::int64_t parseUnary()
    {
        const Token& t = peek();
        bool minus = t.kind == TokenKind::Minus;
        bool plus = t.kind == TokenKind::Plus;
        bool high = t.kind == TokenKind::Name && t.text == "HIGH";
        bool low = t.kind == TokenKind::Name && t.text == "LOW";
        if (!(minus || plus || high || low))
            return parsePrimary();
        ++pos_;
        if (!enter())
            return 0;
        std::int64_t v = parseUnary();
        --depth_;
        if (minus)
            return wrapSub(0, v);
        if (high)
            return static_cast<std::int64_t>((asUnsigned(v) >> 8) & 0xFF);
        if (low)
            return static_cast<std::int64_t>(asUnsigned(v) & 0xFF);
        return v;
    }

    std::int64_t parsePrimary()
    {
        const Token& t = peek();
        switch (t.kind) {
        case TokenKind::Number:
            ++pos_;
            return t.value;
        case TokenKind::Dollar:
            ++pos_;
            return dollar_;
        case TokenKind::String: {
            ++pos_;
            if (t.text.empty() || t.text.size() > 2) {
                fail("a string in an expression must have one or two characters");
                return 0;
            }
            std::int64_t v = 0;
            for (char c : t.text)
                v = v * 256 + static_cast<unsigned char>(c);
            return v;
        }
        case TokenKind::LParen: {
            ++pos_;
            if (!enter())
                return 0;
            std::int64_t v = parseOr();
            --depth_;
            if (failed())
                return 0;
            if (peek().kind != TokenKind::RParen) {
                fail("')' expected, found " + describe(peek()));
                return 0;
            }
            ++pos_;
            return v;
        }
        case TokenKind::Name: {
            if (isExpressionKeyword(t.text)) {
                fail("operator " + t.text + " needs a value before it");
                return 0;
            }
            if (isRegisterName(t.text)) {
                fail("register " + t.text + " where a value is expected");
                return 0;
            }
            ++pos_;
            if (auto v = lookup_(t.text))
                return *v;
            if (out_.known) {
                out_.known = false;
                out_.undefined = t.text;
            }
            return 0;
        }
        default:
            fail(t.kind == TokenKind::End ? "value expected at end of expression"
                                              : "value expected, found " + describe(t));
            return 0;
        }
    }

    std::span<const Token> tokens_;
    std::int64_t dollar_;
    const SymbolLookup& lookup_;
    ExprValue& out_;
    std::size_t pos_ = 0;
    int depth_ = 0;
};

}  // namespace

bool isExpressionKeyword(const std::string& name)
{
    static constexpr std::array<const char*, 9> words{"MOD", "AND", "OR", "XOR", "NOT",
                                                       "SHL", "SHR", "HIGH", "LOW"};
    for (const char* w : words)
        if (name == w)
            return true;
    return false;
}

bool isRegisterName(const std::string& name)
{
    static constexpr std::array<const char*, 10> regs{"A", "B", "C", "D", "E", "H", "L", "M", "SP", "PSW"};
    for (const char* r : regs)
        if (name == r)
            return true;
    return false;
}

ExprValue evaluate(std::span<const Token> tokens, std::int64_t dollar, const SymbolLookup& lookup)
{
    ExprValue out;
    Parser(tokens, dollar, lookup, out).run();
    if (!out.error.empty())
        out.value = 0;
    return out;
}

}  // namespace ostrovik::asm8080
