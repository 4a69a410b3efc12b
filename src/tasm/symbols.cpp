#include "symbols.h"

#include "text.h"

#include <algorithm>

namespace tasm {

std::string SymbolTable::qualify(std::string_view name) const
{
    if (!name.empty() && name[0] == '_')
        return module_ + "." + std::string(name);
    return std::string(name);
}

std::string SymbolTable::key(const std::string& qualified) const
{
    return ignoreCase_ ? upper(qualified) : qualified;
}

const std::int32_t* SymbolTable::find(std::string_view name) const
{
    auto found = entries_.find(key(qualify(name)));
    return found == entries_.end() ? nullptr : &found->second.value;
}

bool SymbolTable::define(std::string_view name, std::int32_t value)
{
    std::string qualified = qualify(name);
    return entries_.emplace(key(qualified), Entry{qualified, value}).second;
}

void SymbolTable::set(std::string_view name, std::int32_t value)
{
    std::string qualified = qualify(name);
    entries_[key(qualified)] = Entry{qualified, value};
}

std::vector<std::pair<std::string, std::int32_t>> SymbolTable::sorted() const
{
    std::vector<std::pair<std::string, std::int32_t>> all;
    all.reserve(entries_.size());
    for (const auto& [key, entry] : entries_)
        all.emplace_back(entry.name, entry.value);
    std::sort(all.begin(), all.end());
    return all;
}

}  // namespace tasm
