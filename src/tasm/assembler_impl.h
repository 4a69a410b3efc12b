#pragma once

#include "assembler.h"
#include "diagnostics.h"
#include "encoder.h"
#include "expression.h"
#include "listing.h"
#include "preprocessor.h"
#include "source_reader.h"
#include "statement.h"
#include "symbols.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tasm {

/// The state both passes share and the handling of one statement; the
/// directives live in directives.cpp.
class Assembler : private SymbolScope, private OperandContext {
public:
    Assembler(const FileLoader& loader, const Options& options);
    Result run(const std::string& source);

private:
    /// How a statement's label takes its value.
    enum class LabelRole {
        Address,   ///< the address of the statement
        AfterOrg,  ///< the address the .org set
        Equate,    ///< set by the directive itself
        Unknown,   ///< unrecognized instruction: never defined
    };

    void runPass(int number, const std::string& source);
    void sourceLine(const SourceLine& line);
    void statement(std::string_view text, const SourceLine& line, bool first);
    void instruction(const Statement& statement, LabelRole& role, std::string& deferred);
    void directive(std::string_view name, const Statement& statement, LabelRole& role, std::string& deferred);
    void label(std::string_view name, LabelRole role);

    void data(std::string_view operands);
    void words(std::string_view operands);
    void echo(std::string_view operands);
    void fill(std::string_view operands);
    void checksum(std::string_view operands);
    void equate(const Statement& statement);

    void emit(std::uint8_t byte);
    /// Reported in pass 2; pass 1 only needs sizes and addresses.
    std::int32_t value(std::string_view expression) override;
    void error(const std::string& message) override;
    void report(const std::vector<EvalError>& errors, bool equate);

    std::optional<std::int32_t> lookup(std::string_view name) const override;
    std::int32_t location() const override { return start_; }

    const Options& options_;
    Result result_;
    SymbolTable symbols_;
    Preprocessor preprocessor_;
    SourceReader reader_;
    Diagnostics diagnostics_;
    ListingWriter listing_;
    int pass_ = 1;
    std::uint16_t pc_ = 0;
    std::uint16_t start_ = 0;
    std::uint16_t listAddress_ = 0;
    bool endSeen_ = false;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace tasm
