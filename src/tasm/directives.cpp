#include "assembler_impl.h"
#include "messages.h"
#include "string_literal.h"
#include "text.h"

#include <algorithm>

namespace tasm {

namespace {

// A data item that is one whole "..." string.
bool wholeString(std::string_view item, StringLiteral& literal)
{
    if (item.empty() || item[0] != '"')
        return false;
    literal = readStringLiteral(item);
    return !literal.terminated || literal.length == item.size();
}

}  // namespace

void Assembler::directive(std::string_view name, const Statement& statement, LabelRole& role,
                          std::string& deferred)
{
    std::string_view operands = statement.operands;
    if (name == "EQU" || name == "SET") {
        role = LabelRole::Equate;
        if (name == "SET" && !statement.label.empty())
            symbols_.set(statement.label, value(operands));
        else if (pass_ == 1)
            equate(statement);
    } else if (name == "ORG") {
        pc_ = static_cast<std::uint16_t>(value(operands));
        listAddress_ = pc_;
        role = LabelRole::AfterOrg;
    } else if (name == "DB" || name == "BYTE" || name == "TEXT") {
        data(operands);
    } else if (name == "DW" || name == "WORD") {
        words(operands);
    } else if (name == "BLOCK" || name == "DS") {
        pc_ = static_cast<std::uint16_t>(pc_ + value(operands));
    } else if (name == "FILL") {
        fill(operands);
    } else if (name == "CHK") {
        checksum(operands);
    } else if (name == "END") {
        endSeen_ = true;
    } else if (name == "ECHO") {
        echo(operands);
    } else if (name == "LIST" || name == "NOLIST") {
        listing_.setListing(name == "LIST");
    } else if (name == "CODES" || name == "NOCODES") {
        listing_.setCodes(name == "CODES");
    } else if (name == "MODULE") {
        symbols_.setModule(operands.empty() ? std::string_view("noname") : operands);
    } else {
        deferred = msg::unknownDirective(upper(statement.mnemonic));
    }
}

// Equates are evaluated once, in pass 1, so a later label is an error there.
void Assembler::equate(const Statement& statement)
{
    if (statement.label.empty())
        return;
    EvalResult evaluated = evaluate(statement.operands, *this);
    report(evaluated.errors, true);
    if (!symbols_.define(statement.label, evaluated.value))
        diagnostics_.error(msg::duplicateLabel(symbols_.qualify(statement.label)));
}

void Assembler::data(std::string_view operands)
{
    for (std::string_view item : splitItems(operands)) {
        StringLiteral literal;
        if (!wholeString(item, literal)) {
            emit(static_cast<std::uint8_t>(value(item)));
            continue;
        }
        if (!literal.terminated && pass_ == 2)
            diagnostics_.error(msg::noTerminatingQuote(item));
        for (char c : literal.bytes)
            emit(static_cast<std::uint8_t>(c));
    }
}

void Assembler::words(std::string_view operands)
{
    auto word = [this](std::int32_t v) {
        emit(static_cast<std::uint8_t>(v));
        emit(static_cast<std::uint8_t>(v >> 8));
    };
    for (std::string_view item : splitItems(operands)) {
        StringLiteral literal;
        if (wholeString(item, literal)) {
            for (char c : literal.bytes)
                word(static_cast<unsigned char>(c));
            continue;
        }
        // The reference evaluates each word twice and reports its errors twice.
        value(item);
        word(value(item));
    }
}

void Assembler::echo(std::string_view operands)
{
    if (pass_ != 2)
        return;
    for (std::string_view item : splitItems(operands)) {
        StringLiteral literal;
        if (wholeString(item, literal))
            result_.console += literal.bytes;
        else
            result_.console += decimal(value(item));
    }
}

void Assembler::fill(std::string_view operands)
{
    std::vector<std::string_view> items = splitItems(operands);
    std::int32_t count = items.empty() ? 0 : value(items[0]);
    std::int32_t byte = items.size() > 1 ? value(items[1]) : 0xFF;
    count = std::clamp<std::int32_t>(count, 0, 0x10000);
    for (std::int32_t i = 0; i < count; ++i)
        emit(static_cast<std::uint8_t>(byte));
}

void Assembler::checksum(std::string_view operands)
{
    auto from = static_cast<std::uint16_t>(value(operands));
    unsigned sum = 0;
    for (unsigned address = from; address < start_; ++address)
        sum += result_.image.at(static_cast<std::uint16_t>(address));
    emit(static_cast<std::uint8_t>(sum));
}

}  // namespace tasm
