#pragma once

#include <string_view>

namespace tasm::fuzz {

/// One fuzz input. The first byte picks the part under test: the expression
/// evaluator, the preprocessor line by line, or a whole assembly whose
/// include files are served from the input after its first NUL byte.
/// Aborts when an output breaks a rule every run must keep.
void runOne(std::string_view input);

}  // namespace tasm::fuzz
