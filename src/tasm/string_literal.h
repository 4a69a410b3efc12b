#pragma once

#include <string>
#include <string_view>

namespace tasm {

struct StringLiteral {
    std::string bytes;          ///< escapes decoded
    std::size_t length = 0;     ///< characters taken, quotes included
    bool terminated = false;
};

/// Reads a double-quoted string at the start of `text` (text[0] is the quote).
/// Escapes: \n \r \t \b \f \\ \" \' and up to three octal digits.
StringLiteral readStringLiteral(std::string_view text);

}  // namespace tasm
