#include "assembler.h"

#include "assembler_impl.h"
#include "instruction_table.h"
#include "messages.h"
#include "operand_match.h"
#include "text.h"

namespace tasm {

Assembler::Assembler(const FileLoader& loader, const Options& options)
    : options_(options),
      result_{true, false, 0, Image(options.fill), {}, {}, {}},
      symbols_(options.ignoreCase),
      reader_(loader),
      diagnostics_(result_.listing, result_.console),
      listing_(result_.listing)
{
}

Result Assembler::run(const std::string& source)
{
    for (int number = 1; number <= 2 && result_.sourceOpened; ++number)
        runPass(number, source);
    if (!result_.sourceOpened)
        return std::move(result_);

    if (options_.labelTable)
        result_.listing += labelTable(symbols_.sorted());
    if (options_.hexTable)
        result_.listing += "\n" + result_.image.hexTable();
    std::string closing = "tasm: Number of errors = " + decimal(diagnostics_.count()) + "\n";
    result_.listing += closing;
    result_.console += closing;
    result_.errors = diagnostics_.count();
    result_.symbols = symbols_.sorted();
    return std::move(result_);
}

void Assembler::runPass(int number, const std::string& source)
{
    pass_ = number;
    pc_ = 0;
    endSeen_ = false;
    symbols_.setModule("noname");
    preprocessor_.reset(options_.defines);
    listing_.setListing(true);
    listing_.setCodes(true);
    if (!reader_.start(source)) {
        result_.sourceOpened = false;
        return;
    }
    SourceLine line;
    while (reader_.next(line))
        sourceLine(line);
    if (pass_ == 2 && !endSeen_)
        diagnostics_.errorWithoutFile(reader_.mainLines(), msg::kNoEnd);
    result_.console += "tasm: pass " + decimal(number) + " complete.\n";
}

void Assembler::sourceLine(const SourceLine& line)
{
    diagnostics_.setLocation(line.file, line.number);
    start_ = pc_;
    auto condition = [this](std::string_view expression) { return value(expression); };
    Preprocessor::Result processed = preprocessor_.process(line.text, condition);
    if (pass_ == 2) {
        for (const std::string& message : processed.errors)
            diagnostics_.error(message);
    }

    if (processed.kind == Preprocessor::Kind::Code) {
        std::vector<std::string_view> statements = splitStatements(processed.text);
        for (std::size_t i = 0; i < statements.size(); ++i)
            statement(statements[i], line, i == 0);
        return;
    }

    if (pass_ == 2) {
        bool skipped = processed.kind == Preprocessor::Kind::Skipped;
        listing_.line({line.number, line.depth, pc_, skipped}, {}, line.text, line.terminated);
    }
    if (processed.kind != Preprocessor::Kind::Include)
        return;
    std::string problem;
    if (reader_.depth() >= SourceReader::kMaxDepth) {
        problem = msg::kIncludeDepth;
    } else if (reader_.reading(processed.text)) {
        // Each self-inclusion would multiply the work by the number of them.
        problem = msg::recursiveInclude(processed.text);
    } else if (!reader_.include(processed.text)) {
        result_.includeMissing = true;
        problem = msg::includeOpen(processed.text);
    }
    if (pass_ == 2 && !problem.empty())
        diagnostics_.error(problem);
}

void Assembler::statement(std::string_view text, const SourceLine& line, bool first)
{
    Statement parsed = parseStatement(text);
    start_ = pc_;
    listAddress_ = pc_;
    bytes_.clear();
    LabelRole role = LabelRole::Address;
    std::string deferred;

    std::string_view mnemonic = parsed.mnemonic;
    if (mnemonic == "=")
        directive("EQU", parsed, role, deferred);
    else if (!mnemonic.empty() && (mnemonic[0] == '.' || mnemonic[0] == '#'))
        directive(upper(mnemonic.substr(1)), parsed, role, deferred);
    else if (!mnemonic.empty())
        instruction(parsed, role, deferred);

    if (!parsed.label.empty())
        label(parsed.label, role);
    if (pass_ == 1)
        return;
    if (!deferred.empty())
        diagnostics_.later(deferred);

    ListingPrefix prefix{line.number, line.depth, listAddress_, false};
    if (first)
        listing_.line(prefix, bytes_, line.text, line.terminated);
    else
        listing_.statement(prefix, bytes_);
    diagnostics_.flush();
}

void Assembler::label(std::string_view name, LabelRole role)
{
    if (role == LabelRole::Equate)
        return;
    std::int32_t address = role == LabelRole::AfterOrg ? pc_ : start_;
    if (pass_ == 1) {
        if (role != LabelRole::Unknown && !symbols_.define(name, address))
            diagnostics_.error(msg::duplicateLabel(symbols_.qualify(name)));
        return;
    }
    // Pass 2 only compares: a label that moved between the passes means the
    // source is not what pass 1 saw, or the name was taken earlier.
    const std::int32_t* known = symbols_.find(name);
    if (!known)
        diagnostics_.later(msg::labelNotFound(name));
    if ((known ? *known : kUndefinedValue) != address)
        diagnostics_.later(msg::misaligned(name));
}

void Assembler::instruction(const Statement& statement, LabelRole& role, std::string& deferred)
{
    InstructionRows rows = rowsFor(upper(statement.mnemonic));
    if (rows.empty()) {
        role = LabelRole::Unknown;
        // The reference names the label here when the line has one.
        deferred = msg::unknownInstruction(statement.label.empty() ? upper(statement.mnemonic)
                                                                   : std::string(statement.label));
        return;
    }
    std::string packed = packOperands(statement.operands);
    for (const Instruction* row = rows.begin; row != rows.end; ++row) {
        std::optional<OperandMatch> match = matchOperands(row->operands, packed);
        if (!match)
            continue;
        if (pass_ == 1) {
            for (int i = 0; i < row->size; ++i)
                emit(0);
            return;
        }
        for (std::uint8_t byte : encode(*row, *match, start_, *this))
            emit(byte);
        return;
    }
    deferred = msg::unknownArgument(statement.operands);
}

void Assembler::emit(std::uint8_t byte)
{
    bytes_.push_back(byte);
    if (pass_ == 2)
        result_.image.write(pc_, byte);
    pc_ = static_cast<std::uint16_t>(pc_ + 1);
}

std::int32_t Assembler::value(std::string_view expression)
{
    EvalResult evaluated = evaluate(expression, *this);
    if (pass_ == 2)
        report(evaluated.errors, false);
    return evaluated.value;
}

void Assembler::report(const std::vector<EvalError>& errors, bool equate)
{
    for (const EvalError& error : errors) {
        if (equate && error.issue == EvalIssue::LabelNotFound) {
            diagnostics_.error(msg::forwardReference(error.text));
            continue;
        }
        for (const std::string& message : messages(error))
            diagnostics_.error(message);
    }
}

void Assembler::error(const std::string& message)
{
    diagnostics_.error(message);
}

std::optional<std::int32_t> Assembler::lookup(std::string_view name) const
{
    if (const std::int32_t* known = symbols_.find(name))
        return *known;
    return std::nullopt;
}

Result assemble(const std::string& source, const FileLoader& loader, const Options& options)
{
    return Assembler(loader, options).run(source);
}

}  // namespace tasm
