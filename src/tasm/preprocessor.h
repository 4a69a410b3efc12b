#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tasm {

/// #define/#defcont macros, #ifdef/#ifndef/#if/#else/#endif and #include,
/// line by line. Directives may start with '#' or '.'.
class Preprocessor {
public:
    enum class Kind {
        Code,       ///< text: the code part of the line, macros expanded
        Directive,  ///< a preprocessor line, listed only
        Skipped,    ///< inside a false conditional
        Include,    ///< text: the file to read next
    };
    struct Result {
        Kind kind = Kind::Code;
        std::string text;
        std::vector<std::string> errors;
    };
    /// Evaluates an #if expression (macros already expanded).
    using Evaluate = std::function<std::int32_t(std::string_view)>;

    /// How much longer than its source a line may grow by expansion.
    static constexpr std::size_t kMaxExpansion = 16 * 1024;

    /// Forgets every macro and open conditional, then defines `predefined`.
    void reset(const std::vector<std::pair<std::string, std::string>>& predefined);
    Result process(std::string_view line, const Evaluate& evaluate);
    /// False inside a conditional branch that is not assembled.
    bool active() const { return conditions_.empty() || conditions_.back().active; }
    /// Substitutes macros in `text` by whole names, outside strings.
    std::string expand(std::string_view text, bool* overflow = nullptr) const;

private:
    struct Macro {
        bool takesArguments = false;
        std::vector<std::string> parameters;
        std::string body;
    };
    struct Condition {
        bool parentActive;
        bool taken;
        bool active;
    };

    void define(std::string_view rest);
    void openCondition(bool holds);
    void expandInto(std::string_view text, std::string& out, std::vector<std::string_view>& open, std::size_t limit,
                    bool& overflow) const;
    std::string substitute(const Macro& macro, const std::vector<std::string_view>& arguments) const;

    std::unordered_map<std::string, Macro> macros_;
    std::string lastMacro_;
    std::vector<Condition> conditions_;
};

}  // namespace tasm
