#include "fuzz_entry.h"

#include "assembler.h"
#include "expression.h"
#include "preprocessor.h"

#include <cstdlib>
#include <optional>
#include <string>

namespace tasm::fuzz {

namespace {

class FixedScope : public SymbolScope {
public:
    std::optional<std::int32_t> lookup(std::string_view name) const override
    {
        if (name.size() % 2 == 0)
            return static_cast<std::int32_t>(name.size() * 0x1111);
        return std::nullopt;
    }
    std::int32_t location() const override { return 0x1234; }
};

// Serves the main source, and the include part under any other name.
class SplitLoader : public FileLoader {
public:
    SplitLoader(std::string_view main, std::string_view include) : main_(main), include_(include) {}
    std::optional<std::string> load(const std::string& name) const override
    {
        return name == "work.asm" ? main_ : include_;
    }

private:
    std::string main_;
    std::string include_;
};

void require(bool rule)
{
    if (!rule)
        std::abort();
}

std::size_t count(std::string_view text, std::string_view word)
{
    std::size_t found = 0;
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
        bool same = true;
        for (std::size_t j = 0; j < word.size() && same; ++j)
            same = (text[i + j] | 0x20) == word[j];
        found += same;
    }
    return found;
}

void expression(std::string_view input)
{
    FixedScope scope;
    EvalResult result = evaluate(input, scope);
    for (const EvalError& error : result.errors)
        require(!messages(error).empty());
}

void preprocessor(std::string_view input)
{
    Preprocessor preprocessor;
    preprocessor.reset({{"PRE", "1"}});
    FixedScope scope;
    auto condition = [&scope](std::string_view text) { return evaluate(text, scope).value; };
    // Nothing can grow beyond the expansion allowance plus what the input holds.
    const std::size_t bound = Preprocessor::kMaxExpansion + 2 * input.size();
    while (!input.empty()) {
        std::size_t end = input.find('\n');
        Preprocessor::Result result = preprocessor.process(input.substr(0, end), condition);
        if (result.kind == Preprocessor::Kind::Code)
            require(result.text.size() <= bound);
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    }
}

void assembly(std::string_view input)
{
    std::size_t split = input.find('\0');
    std::string_view main = input.substr(0, split);
    std::string_view include = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
    // Self-inclusion and .fill multiply the work without reaching new code.
    if (count(include, "include") > 1 || count(input, "fill") > 0)
        return;
    SplitLoader loader(main, include);
    Result result = assemble("work.asm", loader);
    require(result.sourceOpened);
    const std::string closing = "tasm: Number of errors = " + std::to_string(result.errors) + "\n";
    require(result.listing.size() >= closing.size());
    require(result.listing.compare(result.listing.size() - closing.size(), closing.size(), closing) == 0);
    require(result.image.binary().size() <= 0x10000);
}

}  // namespace

void runOne(std::string_view input)
{
    if (input.empty())
        return;
    char mode = input[0];
    input.remove_prefix(1);
    switch (static_cast<unsigned char>(mode) % 3) {
    case 0: expression(input); break;
    case 1: preprocessor(input); break;
    default: assembly(input); break;
    }
}

}  // namespace tasm::fuzz
