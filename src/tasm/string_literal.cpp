#include "string_literal.h"

namespace tasm {

static char escaped(char c)
{
    switch (c) {
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'b': return '\b';
    case 'f': return '\f';
    default: return c;
    }
}

static bool isOctal(char c) { return c >= '0' && c <= '7'; }

StringLiteral readStringLiteral(std::string_view text)
{
    StringLiteral literal;
    std::size_t i = 1;
    while (i < text.size()) {
        char c = text[i++];
        if (c == '"') {
            literal.terminated = true;
            break;
        }
        if (c != '\\' || i >= text.size()) {
            literal.bytes += c;
            continue;
        }
        if (isOctal(text[i])) {
            unsigned value = 0;
            for (int n = 0; n < 3 && i < text.size() && isOctal(text[i]); ++n)
                value = value * 8 + unsigned(text[i++] - '0');
            literal.bytes += static_cast<char>(value & 0xFF);
        } else {
            literal.bytes += escaped(text[i++]);
        }
    }
    literal.length = i;
    return literal;
}

}  // namespace tasm
