#include "messages.h"

#include "text.h"

namespace tasm::msg {

// The reference pads these to a 35-column field before the argument.
static std::string padded(std::string_view text, std::string_view argument)
{
    std::string line(text);
    line.resize(35, ' ');
    return line + "(" + std::string(argument) + ")";
}

static std::string withArgument(std::string_view text, std::string_view argument)
{
    return std::string(text) + " (" + std::string(argument) + ")";
}

std::string labelNotFound(std::string_view name) { return withArgument("Label not found:", name); }
std::string forwardReference(std::string_view name) { return withArgument("Forward reference in equate:", name); }
std::string duplicateLabel(std::string_view name) { return withArgument("Duplicate label:", name); }
std::string misaligned(std::string_view name) { return padded("label value misalligned.", name); }
std::string noTerminatingQuote(std::string_view rest) { return withArgument("No terminating quote:", rest); }
std::string unknownInstruction(std::string_view name) { return padded("unrecognized instruction.", name); }
std::string unknownArgument(std::string_view operands) { return padded("unrecognized argument.", operands); }
std::string unknownDirective(std::string_view name) { return padded("unrecognized directive.", name); }
std::string includeOpen(std::string_view name) { return padded("Unable to open include file.", name); }
std::string recursiveInclude(std::string_view name) { return padded("Include file includes itself.", name); }

std::string unusedMsByte(std::int32_t value)
{
    return withArgument("Unused data in MS byte of argument.", hexLower(static_cast<std::uint32_t>(value) >> 8));
}

}  // namespace tasm::msg
