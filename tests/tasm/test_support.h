#pragma once

#include "assembler.h"
#include "file_loader.h"
#include "text.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace tasm::test {

/// Assembles `source` as work.asm, with `includes` beside it, all in memory.
inline Result assembleText(const std::string& source, std::map<std::string, std::string> includes = {},
                           const Options& options = {})
{
    includes["work.asm"] = source;
    MemoryLoader loader(std::move(includes));
    return assemble("work.asm", loader, options);
}

inline std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// A file or folder name as a GoogleTest parameter name.
inline std::string testName(std::string name)
{
    std::replace_if(name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
    return name;
}

/// "80 7F" for the bytes 80h 7Fh.
inline std::string spacedHex(const std::string& bytes)
{
    std::string out;
    for (char byte : bytes)
        out += (out.empty() ? "" : " ") + hexUpper(static_cast<unsigned char>(byte), 2);
    return out;
}

/// The first line where two texts part, for a readable failure.
inline std::string firstDifference(const std::string& expected, const std::string& actual)
{
    std::size_t line = 1;
    std::size_t start = 0;
    for (std::size_t i = 0; i < expected.size() || i < actual.size(); ++i) {
        bool same = i < expected.size() && i < actual.size() && expected[i] == actual[i];
        if (!same) {
            auto lineAt = [start](const std::string& text) {
                return start < text.size() ? text.substr(start, text.find('\n', start) - start) : "<end>";
            };
            return "line " + std::to_string(line) + ", byte " + std::to_string(i) + "\n  expected: "
                   + lineAt(expected) + "\n  actual:   " + lineAt(actual);
        }
        if (expected[i] == '\n') {
            ++line;
            start = i + 1;
        }
    }
    return "identical";
}

}  // namespace tasm::test
