#pragma once

#include <string_view>
#include <vector>

namespace tasm {

/// One statement: `label[:] mnemonic operands`. A label starts in the
/// statement's first column; a mnemonic there is taken as a label too.
struct Statement {
    std::string_view label;
    std::string_view mnemonic;
    std::string_view operands;  ///< trimmed
};

/// Splits the code part of a line at each '\' outside double quotes.
std::vector<std::string_view> splitStatements(std::string_view code);

Statement parseStatement(std::string_view text);

/// Items of a data directive, split at commas outside "..." and 'c'.
std::vector<std::string_view> splitItems(std::string_view operands);

}  // namespace tasm
