#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tasm {

/// Blank as the assembler sees it: space, tab and stray control blanks.
inline bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

inline bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

inline bool isHexDigit(char c)
{
    return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

/// First character of a label or macro name.
inline bool isNameStart(char c) { return isLetter(c) || c == '_' || c == '.'; }

/// Following characters of a label or macro name; '.' allows names like P1.0.
inline bool isNameChar(char c) { return isNameStart(c) || isDigit(c); }

inline char toUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

std::string_view trim(std::string_view text);
std::string_view trimLeft(std::string_view text);
std::string upper(std::string_view text);

/// Number in decimal, at least `width` digits with leading zeros.
std::string decimal(long value, int width = 0);
/// Number in upper-case hex, at least `width` digits with leading zeros.
std::string hexUpper(std::uint32_t value, int width);
/// Number in lower-case hex without leading zeros.
std::string hexLower(std::uint32_t value);

/// Where `wanted` first stands outside a double-quoted string (in which a
/// backslash escapes the next character); npos if nowhere. Single quotes
/// protect nothing, as in the reference: `';'` starts a comment.
std::size_t findUnquoted(std::string_view text, char wanted, std::size_t from = 0);

/// Length of the code part of a line: up to the first unquoted ';'.
std::size_t codeLength(std::string_view line);

}  // namespace tasm
