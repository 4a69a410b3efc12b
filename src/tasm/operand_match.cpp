#include "operand_match.h"

#include "text.h"

namespace tasm {

std::string packOperands(std::string_view operands)
{
    std::string packed;
    packed.reserve(operands.size());
    char quote = 0;
    for (char c : operands) {
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (isBlank(c)) {
            continue;
        }
        packed += c;
    }
    return packed;
}

static bool registerAt(std::string_view text, std::size_t at, char highest, std::uint8_t& reg)
{
    if (at + 1 >= text.size() || toUpperAscii(text[at]) != 'R')
        return false;
    char digit = text[at + 1];
    if (digit < '0' || digit > highest)
        return false;
    reg = static_cast<std::uint8_t>(digit - '0');
    return true;
}

std::optional<OperandMatch> matchOperands(std::string_view pattern, std::string_view packed)
{
    OperandMatch match;
    std::size_t p = 0;
    std::size_t s = 0;
    while (p < pattern.size()) {
        if (pattern.compare(p, 2, "Rn") == 0) {
            if (!registerAt(packed, s, '7', match.reg))
                return std::nullopt;
            p += 2;
            s += 2;
        } else if (pattern.compare(p, 3, "@Ri") == 0) {
            if (s >= packed.size() || packed[s] != '@' || !registerAt(packed, s + 1, '1', match.reg))
                return std::nullopt;
            p += 3;
            s += 3;
        } else if (pattern[p] == '*') {
            std::size_t end = packed.size();
            if (p + 1 < pattern.size()) {
                end = packed.find(pattern[p + 1], s);
                if (end == std::string_view::npos)
                    return std::nullopt;
            }
            if (match.count < static_cast<int>(match.expressions.size()))
                match.expressions[match.count++] = packed.substr(s, end - s);
            ++p;
            s = end;
        } else {
            if (s >= packed.size() || toUpperAscii(packed[s]) != pattern[p])
                return std::nullopt;
            ++p;
            ++s;
        }
    }
    if (s != packed.size())
        return std::nullopt;
    return match;
}

}  // namespace tasm
