#include "assembler.h"
#include "options.h"
#include "text.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

enum Exit { kOk = 0, kErrors = 1, kFileAccess = 3, kFatal = 4 };

bool writeFile(const std::string& name, const std::string& bytes)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (out)
        return true;
    std::printf("tasm: cannot write %s\n", name.c_str());
    return false;
}

std::string symbolFile(const std::vector<std::pair<std::string, std::int32_t>>& symbols)
{
    std::string out;
    for (const auto& [name, value] : symbols)
        out += name + " " + tasm::hexUpper(static_cast<std::uint32_t>(value) & 0xFFFF, 4) + "\n";
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    tasm::CommandLine line = tasm::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    for (const std::string& note : line.notes)
        std::printf("%s\n", note.c_str());
    if (!line.fatal.empty()) {
        std::printf("%s\n", line.fatal.c_str());
        return kFatal;
    }

    tasm::DiskLoader loader;
    tasm::Result result = tasm::assemble(line.source, loader, line.assembly);
    if (!result.sourceOpened) {
        std::printf("tasm: source file open error on %s\n", line.source.c_str());
        return kFileAccess;
    }
    std::fwrite(result.console.data(), 1, result.console.size(), stdout);
    std::fflush(stdout);

    bool written = writeFile(line.object, line.binary ? result.image.binary()
                                                      : result.image.intelHex(line.contiguous));
    if (!line.noListing)
        written = writeFile(line.listing, result.listing) && written;
    if (line.symbolFile)
        written = writeFile(line.symbols, symbolFile(result.symbols)) && written;

    if (!written || result.includeMissing)
        return kFileAccess;
    return result.errors > 0 ? kErrors : kOk;
}
