#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "asm8080/Lexer.hpp"

namespace ostrovik::asm8080 {

/// Gives a symbol's value, or nothing while it is not (yet) defined.
using SymbolLookup = std::function<std::optional<std::int64_t>(const std::string&)>;

/// The outcome of evaluating one expression.
struct ExprValue {
    std::int64_t value = 0;
    /// False when a symbol it uses is not defined (yet); @c undefined names it.
    bool known = true;
    std::string undefined;
    /// Non-empty when the expression is malformed or cannot be computed.
    std::string error;
};

/// True for the words the expression syntax reserves (MOD, AND, HIGH …).
bool isExpressionKeyword(const std::string& name);

/// True for the 8080 register and register-pair names.
bool isRegisterName(const std::string& name);

/// Evaluates the whole token range as one expression: numbers, symbols, $,
/// one- or two-character strings, + - * / MOD SHL SHR AND OR XOR NOT HIGH LOW
/// and parentheses. Arithmetic is 64-bit and wraps; the users of the value
/// check its range.
ExprValue evaluate(std::span<const Token> tokens, std::int64_t dollar, const SymbolLookup& lookup);

}  // namespace ostrovik::asm8080
