#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tasm {

/// Labels and equates. Names starting with '_' are local to the current
/// module and are stored as "module._name".
class SymbolTable {
public:
    explicit SymbolTable(bool ignoreCase = false) : ignoreCase_(ignoreCase) {}

    void setModule(std::string_view name) { module_ = name; }
    /// The name under which `name` is stored in the current module.
    std::string qualify(std::string_view name) const;
    const std::int32_t* find(std::string_view name) const;
    /// False, and the old value kept, when the name is taken.
    bool define(std::string_view name, std::int32_t value);
    void set(std::string_view name, std::int32_t value);
    /// Every symbol by name, as written.
    std::vector<std::pair<std::string, std::int32_t>> sorted() const;

private:
    struct Entry {
        std::string name;
        std::int32_t value;
    };
    std::string key(const std::string& qualified) const;

    bool ignoreCase_;
    std::string module_ = "noname";
    std::unordered_map<std::string, Entry> entries_;
};

}  // namespace tasm
