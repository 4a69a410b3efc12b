#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tasm {

/// What an undefined label evaluates to. Its low byte is 0 and its MS byte
/// is not, so an 8-bit operand built from it also draws "Unused data".
constexpr std::int32_t kUndefinedValue = 0x20000;

/// Labels and the location counter as an expression sees them.
class SymbolScope {
public:
    virtual ~SymbolScope() = default;
    virtual std::optional<std::int32_t> lookup(std::string_view name) const = 0;
    /// `$` and a leading `*`.
    virtual std::int32_t location() const = 0;
};

enum class EvalIssue {
    LabelNotFound,       ///< text: the label
    UnknownToken,        ///< text: the character
    PrematureChar,       ///< a `'` at the end
    NoTerminatingQuote,  ///< text: from the opening quote to the end
    DivideByZero,
    BadNumber,           ///< text: the number as written
    TooComplex,
};

struct EvalError {
    EvalIssue issue;
    std::string text;
};

struct EvalResult {
    std::int32_t value = 0;
    std::vector<EvalError> errors;
};

/// Evaluates strictly left to right with no operator precedence; unary
/// operators bind to the term that follows. Never throws.
EvalResult evaluate(std::string_view expression, const SymbolScope& scope);

/// The messages an error prints, in the assembler's wording (UnknownToken prints two).
std::vector<std::string> messages(const EvalError& error);

}  // namespace tasm
