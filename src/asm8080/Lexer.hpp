#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ostrovik::asm8080 {

enum class TokenKind {
    Name,    ///< symbol, mnemonic, directive, register or word operator (upper-cased)
    Number,  ///< numeric literal, already converted
    String,  ///< quoted text, quotes removed and doubled quotes undone
    Dollar,  ///< the location counter
    Comma,
    Colon,
    LParen,
    RParen,
    Plus,
    Minus,
    Star,
    Slash,
    End,
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;           ///< Name: upper-cased name; String: the raw bytes
    std::int64_t value = 0;     ///< Number: its value
    std::size_t column = 0;     ///< offset of the token's first character in the line
};

/// One source line cut into tokens, the comment left out.
struct LexedLine {
    std::vector<Token> tokens;  ///< always ends with an End token
    std::string error;          ///< empty when the whole line was understood
};

/// Cuts one source line (no line break) into tokens. Stops at the first
/// character it cannot understand and reports it in @c error.
LexedLine lexLine(std::string_view line);

}  // namespace ostrovik::asm8080
