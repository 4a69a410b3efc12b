#include "expression.h"

#include "messages.h"
#include "string_literal.h"
#include "text.h"

namespace tasm {

namespace {

enum class Op { None, Add, Sub, Mul, Div, Mod, Shl, Shr, And, Or, Xor, Eq, Ne, Lt, Gt, Le, Ge };

constexpr int kMaxNesting = 200;

class Parser {
public:
    Parser(std::string_view text, const SymbolScope& scope, std::vector<EvalError>& errors)
        : s_(text), scope_(scope), errors_(errors)
    {
    }

    std::int32_t expression(bool nested)
    {
        std::uint32_t acc = 0;
        Op pending = Op::None;
        bool haveValue = false;
        while (skipBlanks()) {
            char c = s_[i_];
            if (c == ')') {
                ++i_;
                if (nested)
                    break;
                unknown(c);
                continue;
            }
            if (haveValue && pending == Op::None) {
                Op op = binaryOperator();
                if (op != Op::None) {
                    pending = op;
                    continue;
                }
            }
            if (!startsTerm(c)) {
                ++i_;
                unknown(c);
                continue;
            }
            // Two terms with nothing between them: the later one wins.
            std::uint32_t value = static_cast<std::uint32_t>(term());
            acc = pending == Op::None ? value : apply(acc, pending, value);
            pending = Op::None;
            haveValue = true;
        }
        return static_cast<std::int32_t>(acc);
    }

private:
    bool skipBlanks()
    {
        while (i_ < s_.size() && isBlank(s_[i_]))
            ++i_;
        return i_ < s_.size();
    }

    void unknown(char c) { errors_.push_back({EvalIssue::UnknownToken, std::string(1, c)}); }

    static bool startsTerm(char c)
    {
        return isNameChar(c) || c == '$' || c == '%' || c == '@' || c == '\'' || c == '"'
               || c == '(' || c == '-' || c == '+' || c == '~' || c == '!' || c == '*';
    }

    char peek(std::size_t ahead) const
    {
        return i_ + ahead < s_.size() ? s_[i_ + ahead] : '\0';
    }

    Op binaryOperator()
    {
        char c = peek(0);
        char d = peek(1);
        auto take = [this](std::size_t n, Op op) {
            i_ += n;
            return op;
        };
        switch (c) {
        case '+': return take(1, Op::Add);
        case '-': return take(1, Op::Sub);
        case '*': return take(1, Op::Mul);
        case '/': return take(1, Op::Div);
        case '%': return take(1, Op::Mod);
        case '&': return take(1, Op::And);
        case '|': return take(1, Op::Or);
        case '^': return take(1, Op::Xor);
        case '=': return d == '=' ? take(2, Op::Eq) : take(1, Op::Eq);
        case '!': return d == '=' ? take(2, Op::Ne) : Op::None;
        case '<':
            if (d == '<')
                return take(2, Op::Shl);
            return d == '=' ? take(2, Op::Le) : take(1, Op::Lt);
        case '>':
            if (d == '>')
                return take(2, Op::Shr);
            return d == '=' ? take(2, Op::Ge) : take(1, Op::Gt);
        default: return Op::None;
        }
    }

    std::uint32_t apply(std::uint32_t a, Op op, std::uint32_t b)
    {
        auto sa = static_cast<std::int32_t>(a);
        auto sb = static_cast<std::int32_t>(b);
        switch (op) {
        case Op::Add: return a + b;
        case Op::Sub: return a - b;
        case Op::Mul: return a * b;
        case Op::Div:
        case Op::Mod: {
            if (sb == 0) {
                errors_.push_back({EvalIssue::DivideByZero, {}});
                return 0;
            }
            std::int64_t q = std::int64_t(sa) / sb;
            std::int64_t r = std::int64_t(sa) % sb;
            return static_cast<std::uint32_t>(op == Op::Div ? q : r);
        }
        case Op::Shl: return (sb < 0 || sb > 31) ? 0 : a << sb;
        case Op::Shr:
            if (sb < 0 || sb > 31)
                return sa < 0 ? ~0u : 0u;
            return static_cast<std::uint32_t>(sa < 0 ? ~(~a >> sb) : a >> sb);
        case Op::And: return a & b;
        case Op::Or: return a | b;
        case Op::Xor: return a ^ b;
        case Op::Eq: return sa == sb;
        case Op::Ne: return sa != sb;
        case Op::Lt: return sa < sb;
        case Op::Gt: return sa > sb;
        case Op::Le: return sa <= sb;
        case Op::Ge: return sa >= sb;
        case Op::None: break;
        }
        return b;
    }

    std::int32_t term()
    {
        if (++depth_ > kMaxNesting) {
            if (!tooComplex_)
                errors_.push_back({EvalIssue::TooComplex, {}});
            tooComplex_ = true;
            i_ = s_.size();
            --depth_;
            return 0;
        }
        std::int32_t value = primary();
        --depth_;
        return value;
    }

    std::int32_t primary()
    {
        if (!skipBlanks())
            return 0;
        char c = s_[i_];
        auto u = [](std::int32_t v) { return static_cast<std::uint32_t>(v); };
        switch (c) {
        case '-': ++i_; return static_cast<std::int32_t>(0u - u(term()));
        case '+': ++i_; return term();
        case '~': ++i_; return static_cast<std::int32_t>(~u(term()));
        case '!': ++i_; return term() == 0 ? 1 : 0;
        case '(': ++i_; return expression(true);
        case '*': ++i_; return scope_.location();
        case '$':
            ++i_;
            return isHexDigit(peek(0)) ? digits(16, isHexDigit) : scope_.location();
        case '%': ++i_; return digits(2, [](char d) { return d == '0' || d == '1'; });
        case '@': ++i_; return digits(8, [](char d) { return d >= '0' && d <= '7'; });
        case '\'': return character();
        case '"': return quoted();
        default: break;
        }
        if (isDigit(c))
            return number();
        return label();
    }

    template <typename Accept>
    std::string_view take(Accept accept)
    {
        std::size_t start = i_;
        while (i_ < s_.size() && accept(s_[i_]))
            ++i_;
        return s_.substr(start, i_ - start);
    }

    static unsigned digitValue(char c)
    {
        if (isDigit(c))
            return unsigned(c - '0');
        return unsigned(toUpperAscii(c) - 'A' + 10);
    }

    static std::uint32_t valueOf(std::string_view digits, unsigned radix, bool& bad)
    {
        std::uint32_t value = 0;
        for (char d : digits) {
            unsigned digit = digitValue(d);
            bad = bad || digit >= radix;
            value = value * radix + digit;
        }
        return value;
    }

    template <typename Accept>
    std::int32_t digits(unsigned radix, Accept accept)
    {
        bool bad = false;
        return static_cast<std::int32_t>(valueOf(take(accept), radix, bad));
    }

    // Hex digits first, then a radix letter: 0FFh, 377o, 17q, 1010b, 255d.
    std::int32_t number()
    {
        std::size_t start = i_;
        std::string_view body = take(isHexDigit);
        unsigned radix = 10;
        char suffix = toUpperAscii(peek(0));
        if (suffix == 'H' || suffix == 'O' || suffix == 'Q') {
            radix = suffix == 'H' ? 16 : 8;
            ++i_;
        } else if (body.size() > 1 && (toUpperAscii(body.back()) == 'B' || toUpperAscii(body.back()) == 'D')) {
            radix = toUpperAscii(body.back()) == 'B' ? 2 : 10;
            body.remove_suffix(1);
        }
        bool bad = false;
        std::uint32_t value = valueOf(body, radix, bad);
        if (bad)
            errors_.push_back({EvalIssue::BadNumber, std::string(s_.substr(start, i_ - start))});
        return static_cast<std::int32_t>(value);
    }

    std::int32_t character()
    {
        std::size_t quote = i_++;
        if (i_ >= s_.size()) {
            errors_.push_back({EvalIssue::PrematureChar, {}});
            return 0;
        }
        auto value = static_cast<unsigned char>(s_[i_++]);
        if (peek(0) == '\'')
            ++i_;
        else
            errors_.push_back({EvalIssue::NoTerminatingQuote, std::string(s_.substr(quote))});
        return value;
    }

    // A string in an expression stands for its first character.
    std::int32_t quoted()
    {
        StringLiteral literal = readStringLiteral(s_.substr(i_));
        if (!literal.terminated)
            errors_.push_back({EvalIssue::NoTerminatingQuote, std::string(s_.substr(i_))});
        i_ += literal.length;
        return literal.bytes.empty() ? 0 : static_cast<unsigned char>(literal.bytes[0]);
    }

    std::int32_t label()
    {
        std::string_view name = take(isNameChar);
        if (auto value = scope_.lookup(name))
            return *value;
        errors_.push_back({EvalIssue::LabelNotFound, std::string(name)});
        return kUndefinedValue;
    }

    std::string_view s_;
    std::size_t i_ = 0;
    const SymbolScope& scope_;
    std::vector<EvalError>& errors_;
    int depth_ = 0;
    bool tooComplex_ = false;
};

}  // namespace

EvalResult evaluate(std::string_view expression, const SymbolScope& scope)
{
    EvalResult result;
    Parser parser(expression, scope, result.errors);
    result.value = parser.expression(false);
    return result;
}

std::vector<std::string> messages(const EvalError& error)
{
    switch (error.issue) {
    case EvalIssue::LabelNotFound: return {msg::labelNotFound(error.text)};
    case EvalIssue::UnknownToken: return {"Unknown token: (" + error.text + ")", "Unknown token.    "};
    case EvalIssue::PrematureChar: return {"Premature end of CHAR token "};
    case EvalIssue::NoTerminatingQuote: return {msg::noTerminatingQuote(error.text)};
    case EvalIssue::DivideByZero: return {"Division by zero. "};
    case EvalIssue::BadNumber: return {"Invalid number: (" + error.text + ")"};
    case EvalIssue::TooComplex: return {"Expression too complex. "};
    }
    return {};
}

}  // namespace tasm
