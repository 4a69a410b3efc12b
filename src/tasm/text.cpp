#include "text.h"

#include <algorithm>

namespace tasm {

std::string_view trimLeft(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return text.substr(i);
}

std::string_view trim(std::string_view text)
{
    text = trimLeft(text);
    std::size_t n = text.size();
    while (n > 0 && isBlank(text[n - 1]))
        --n;
    return text.substr(0, n);
}

std::string upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = toUpperAscii(c);
    return out;
}

std::string decimal(long value, int width)
{
    bool negative = value < 0;
    unsigned long magnitude = negative ? 0UL - static_cast<unsigned long>(value)
                                       : static_cast<unsigned long>(value);
    std::string digits;
    do {
        digits.insert(digits.begin(), char('0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    while (static_cast<int>(digits.size()) < width)
        digits.insert(digits.begin(), '0');
    return negative ? "-" + digits : digits;
}

static std::string hexDigits(std::uint32_t value, int width, const char* alphabet)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), alphabet[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    while (static_cast<int>(digits.size()) < width)
        digits.insert(digits.begin(), '0');
    return digits;
}

std::string hexUpper(std::uint32_t value, int width)
{
    return hexDigits(value, width, "0123456789ABCDEF");
}

std::string hexLower(std::uint32_t value)
{
    return hexDigits(value, 0, "0123456789abcdef");
}

std::size_t findUnquoted(std::string_view text, char wanted, std::size_t from)
{
    bool quoted = false;
    for (std::size_t i = from; i < text.size(); ++i) {
        char c = text[i];
        if (quoted) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == wanted) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::size_t codeLength(std::string_view line)
{
    return std::min(findUnquoted(line, ';'), line.size());
}

}  // namespace tasm
