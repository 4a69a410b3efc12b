#pragma once

#include "assembler.h"

#include <string>
#include <vector>

namespace tasm {

/// `tasm -51 [options] source [object [listing]]`.
struct CommandLine {
    Options assembly;
    bool binary = false;      ///< -b: raw image instead of Intel hex
    bool noListing = false;   ///< -q
    bool symbolFile = false;  ///< -s
    bool contiguous = false;  ///< -c: hex records over the gaps too
    std::string source;
    std::string object;
    std::string listing;
    std::string symbols;
    std::vector<std::string> notes;  ///< one line per unknown option or extra argument
    std::string fatal;               ///< set when assembly cannot start
};

CommandLine parseCommandLine(const std::vector<std::string>& arguments);

/// The source name cut at the first '.' of its file name, plus `extension`.
std::string derivedName(const std::string& source, const std::string& extension);

}  // namespace tasm
