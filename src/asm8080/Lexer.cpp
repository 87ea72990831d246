#include "asm8080/Lexer.hpp"

#include <cstdio>

namespace ostrovik::asm8080 {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isNameStart(char c) { return isLetter(c) || c == '_' || c == '?' || c == '@'; }
bool isNameChar(char c) { return isNameStart(c) || isDigit(c); }
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

int digitValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

std::string describe(char c)
{
    auto u = static_cast<unsigned char>(c);
    char buf[32];
    if (u >= 0x21 && u < 0x7F)
        std::snprintf(buf, sizeof buf, "'%c'", c);
    else
        std::snprintf(buf, sizeof buf, "byte %02Xh", u);
    return buf;
}

/// Converts the text of a numeric literal (upper-cased, starting with a
/// digit): a last letter H, B, O, Q or D picks the base, decimal otherwise.
bool convertNumber(const std::string& text, std::int64_t& value, std::string& error)
{
    int base = 10;
    std::size_t digits = text.size();
    switch (text.back()) {
    case 'H': base = 16; --digits; break;
    case 'B': base = 2; --digits; break;
    case 'O':
    case 'Q': base = 8; --digits; break;
    case 'D': base = 10; --digits; break;
    default: break;
    }
    if (digits == 0) {
        error = "bad number " + text;
        return false;
    }
    std::int64_t v = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        int d = digitValue(text[i]);
        if (d >= base) {
            error = "bad digit in number " + text;
            return false;
        }
        v = v * base + d;
        if (v > 0xFFFFFFFFLL) {
            error = "number too large: " + text;
            return false;
        }
    }
    value = v;
    return true;
}

}  // namespace

LexedLine lexLine(std::string_view line)
{
    LexedLine out;
    std::size_t i = 0;
    const std::size_t n = line.size();
    auto push = [&](TokenKind kind, std::size_t column) {
        Token t;
        t.kind = kind;
        t.column = column;
        out.tokens.push_back(std::move(t));
    };
    while (i < n) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
            ++i;
            continue;
        }
        if (c == ';')
            break;
        std::size_t start = i;
        if (isNameStart(c)) {
            std::string name;
            while (i < n && isNameChar(line[i]))
                name += upper(line[i++]);
            push(TokenKind::Name, start);
            out.tokens.back().text = std::move(name);
            continue;
        }
        if (isDigit(c)) {
            std::string text;
            while (i < n && (isLetter(line[i]) || isDigit(line[i])))
                text += upper(line[i++]);
            std::int64_t value = 0;
            if (!convertNumber(text, value, out.error))
                break;
            push(TokenKind::Number, start);
            out.tokens.back().value = value;
            out.tokens.back().text = std::move(text);
            continue;
        }
        if (c == '\'' || c == '"') {
            // A doubled quote inside the string stands for one quote.
            std::string text;
            ++i;
            bool closed = false;
            while (i < n) {
                if (line[i] == c) {
                    if (i + 1 < n && line[i + 1] == c) {
                        text += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                text += line[i++];
            }
            if (!closed) {
                out.error = "string not closed";
                break;
            }
            push(TokenKind::String, start);
            out.tokens.back().text = std::move(text);
            continue;
        }
        TokenKind kind;
        switch (c) {
        case '$': kind = TokenKind::Dollar; break;
        case ',': kind = TokenKind::Comma; break;
        case ':': kind = TokenKind::Colon; break;
        case '(': kind = TokenKind::LParen; break;
        case ')': kind = TokenKind::RParen; break;
        case '+': kind = TokenKind::Plus; break;
        case '-': kind = TokenKind::Minus; break;
        case '*': kind = TokenKind::Star; break;
        case '/': kind = TokenKind::Slash; break;
        default:
            out.error = "unexpected character " + describe(c);
            kind = TokenKind::End;
            break;
        }
        if (kind == TokenKind::End)
            break;
        ++i;
        push(kind, start);
    }
    push(TokenKind::End, n);
    return out;
}

}  // namespace ostrovik::asm8080
