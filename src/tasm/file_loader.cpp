#include "file_loader.h"

#include <fstream>
#include <iterator>

namespace tasm {

std::optional<std::string> DiskLoader::load(const std::string& name) const
{
    std::ifstream in(name, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::optional<std::string> MemoryLoader::load(const std::string& name) const
{
    auto found = files_.find(name);
    if (found == files_.end())
        return std::nullopt;
    return found->second;
}

}  // namespace tasm
