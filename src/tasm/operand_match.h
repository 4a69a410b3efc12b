#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tasm {

struct OperandMatch {
    std::array<std::string_view, 2> expressions;  ///< the `*` parts, in order
    int count = 0;
    std::uint8_t reg = 0;                         ///< from Rn or @Ri
};

/// The operand field with blanks outside quotes removed, as patterns are matched.
std::string packOperands(std::string_view operands);

/// Matches packed operands against a table pattern. A `*` takes everything up
/// to the first occurrence of the character that follows it in the pattern,
/// quotes or not; the last `*` takes the rest.
std::optional<OperandMatch> matchOperands(std::string_view pattern, std::string_view packed);

}  // namespace tasm
