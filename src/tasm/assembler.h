#pragma once

#include "file_loader.h"
#include "image.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tasm {

struct Options {
    std::uint8_t fill = 0;                                         ///< -f: gap byte
    bool ignoreCase = false;                                       ///< -i: labels in any case
    bool labelTable = false;                                       ///< -l
    bool hexTable = false;                                         ///< -h
    std::vector<std::pair<std::string, std::string>> defines;      ///< -d NAME[=text]
};

struct Result {
    bool sourceOpened = true;
    bool includeMissing = false;
    int errors = 0;
    Image image;
    std::string listing;
    std::string console;   ///< what goes to standard output
    std::vector<std::pair<std::string, std::int32_t>> symbols;
};

/// Assembles `source` in two passes. The listing and console text are
/// complete, errors included; nothing is written to disk.
Result assemble(const std::string& source, const FileLoader& loader, const Options& options = {});

}  // namespace tasm
