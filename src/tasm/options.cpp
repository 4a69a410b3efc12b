#include "options.h"

#include "text.h"

namespace tasm {

std::string derivedName(const std::string& source, const std::string& extension)
{
    std::size_t slash = source.find_last_of("/\\");
    std::size_t dot = source.find('.', slash == std::string::npos ? 0 : slash + 1);
    return source.substr(0, dot) + extension;
}

static bool parseHexByte(std::string_view text, std::uint8_t& byte)
{
    if (text.empty())
        return true;
    unsigned value = 0;
    for (char c : text) {
        if (!isHexDigit(c))
            return false;
        value = (value * 16 + unsigned(isDigit(c) ? c - '0' : toUpperAscii(c) - 'A' + 10)) & 0xFF;
    }
    byte = static_cast<std::uint8_t>(value);
    return true;
}

static void addDefine(Options& options, const std::string& text)
{
    std::size_t equals = text.find('=');
    std::string name = text.substr(0, equals);
    std::string body = equals == std::string::npos ? std::string() : text.substr(equals + 1);
    if (!name.empty())
        options.defines.emplace_back(name, body);
}

CommandLine parseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine line;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.size() < 2 || argument[0] != '-') {
            files.push_back(argument);
            continue;
        }
        std::string rest = argument.substr(1);
        char flag = toUpperAscii(rest[0]);
        std::string tail = rest.substr(1);
        if (isDigit(rest[0])) {
            if (rest != "51")
                line.fatal = "tasm: no instruction table for " + argument + " (only -51 is built in)";
        } else if (flag == 'B' && tail.empty()) {
            line.binary = true;
        } else if (flag == 'F' && parseHexByte(tail, line.assembly.fill)) {
        } else if (flag == 'H' && tail.empty()) {
            line.assembly.hexTable = true;
        } else if (flag == 'L') {
            line.assembly.labelTable = true;
        } else if (flag == 'S' && tail.empty()) {
            line.symbolFile = true;
        } else if (flag == 'Q' && tail.empty()) {
            line.noListing = true;
        } else if (flag == 'C' && tail.empty()) {
            line.contiguous = true;
        } else if (flag == 'I' && tail.empty()) {
            line.assembly.ignoreCase = true;
        } else if (flag == 'D') {
            if (!tail.empty())
                addDefine(line.assembly, tail);
            else if (i + 1 < arguments.size())
                addDefine(line.assembly, arguments[++i]);
        } else {
            line.notes.push_back("tasm: unknown option " + argument + " ignored");
        }
    }

    if (files.empty()) {
        if (line.fatal.empty())
            line.fatal = "tasm: usage: tasm -51 [-b] [-fxx] [-h] [-l] [-s] [-q] [-c] [-i] [-d NAME] "
                         "source [object [listing]]";
        return line;
    }
    for (std::size_t i = 3; i < files.size(); ++i)
        line.notes.push_back("tasm: extra argument " + files[i] + " ignored");
    line.source = files[0];
    line.object = files.size() > 1 ? files[1] : derivedName(line.source, ".obj");
    line.listing = files.size() > 2 ? files[2] : derivedName(line.source, ".lst");
    line.symbols = derivedName(line.source, ".sym");
    return line;
}

}  // namespace tasm
