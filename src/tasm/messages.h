#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Error texts in the reference assembler's wording, trailing blanks included.
namespace tasm::msg {

std::string labelNotFound(std::string_view name);
std::string forwardReference(std::string_view name);
std::string duplicateLabel(std::string_view name);
std::string misaligned(std::string_view name);
std::string unusedMsByte(std::int32_t value);
std::string noTerminatingQuote(std::string_view rest);
std::string unknownInstruction(std::string_view name);
std::string unknownArgument(std::string_view operands);
std::string unknownDirective(std::string_view name);
std::string includeOpen(std::string_view name);
std::string recursiveInclude(std::string_view name);

inline const char* const kRelativeRange = "Range of relative branch exceeded. ";
inline const char* const kOffPage = "Branch off of current 2K page. ";
inline const char* const kNoEnd = "No END directive before EOF.       ";
inline const char* const kIncludeDepth = "Include files nested too deep.     ";
inline const char* const kMacroTooLong = "Macro expansion too long.          ";

}  // namespace tasm::msg
