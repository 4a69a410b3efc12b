#include "expression.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

class Labels : public tasm::SymbolScope {
public:
    std::optional<std::int32_t> lookup(std::string_view name) const override
    {
        auto found = labels_.find(std::string(name));
        return found == labels_.end() ? std::nullopt : std::optional<std::int32_t>(found->second);
    }
    std::int32_t location() const override { return 0x015E; }

private:
    std::map<std::string, std::int32_t> labels_{{"TEN", 10}, {"ADDR", 0x1234}, {"P1.0", 0x90}};
};

struct ExpressionCase {
    const char* name;
    const char* text;
    std::int32_t value;
    std::vector<tasm::EvalIssue> issues;
};

class Expression : public testing::TestWithParam<ExpressionCase> {};

TEST_P(Expression, EvaluatesLikeTheReference)
{
    const ExpressionCase& c = GetParam();
    tasm::EvalResult result = tasm::evaluate(c.text, Labels());
    EXPECT_EQ(result.value, c.value);
    std::vector<tasm::EvalIssue> issues;
    for (const tasm::EvalError& error : result.errors)
        issues.push_back(error.issue);
    EXPECT_EQ(issues, c.issues);
}

using I = tasm::EvalIssue;

const ExpressionCase kExpressionCases[] = {
    {"NoPrecedence", "1+2*3", 9, {}},
    {"ParenthesesGroup", "1+(2*3)", 7, {}},
    {"SubtractionLeftToRight", "10-2-3", 5, {}},
    {"ShiftThenAdd", "1<<3+1", 9, {}},
    {"OrThenAnd", "0F0h|0Fh&3Ch", 0x3C, {}},
    {"UnaryBindsToNextTerm", "~TEN+1", -10, {}},
    {"NestedUnary", "-(-3)", 3, {}},
    {"LogicalNot", "!0+!5", 1, {}},
    {"RelationalIsSigned", "-1<0", 1, {}},
    {"EqualsBothSpellings", "(1=1)+(2==2)+(3!=3)", 2, {}},
    {"HexSuffix", "0ffH", 255, {}},
    {"HexPrefix", "$fF", 255, {}},
    {"BinarySuffixIsAHexDigit", "1010B", 10, {}},
    {"BinaryPrefix", "%0101", 5, {}},
    {"OctalForms", "377o+17Q+@17", 255 + 15 + 15, {}},
    {"DecimalSuffix", "255d", 255, {}},
    {"HexWithSuffixLetterInside", "0BDh", 0xBD, {}},
    {"DollarIsLocation", "$+2", 0x0160, {}},
    {"LeadingStarIsLocation", "** 2", 0x02BC, {}},
    {"CharacterConstant", "'0'+TEN-1", '9', {}},
    {"DottedLabel", "P1.0+1", 0x91, {}},
    {"TruncationIsTheCallersJob", "65536+7", 0x10007, {}},
    {"UndefinedLabelHasANonZeroMsByte", "nowhere", tasm::kUndefinedValue, {I::LabelNotFound}},
    {"CPrefixIsZeroThenALabel", "0x1F", tasm::kUndefinedValue, {I::LabelNotFound}},
    {"LaterTermWinsWithoutOperator", "a,#1", 1, {I::LabelNotFound, I::UnknownToken, I::UnknownToken}},
    {"QuoteAtEnd", "'", 0, {I::PrematureChar}},
    {"UnclosedCharacter", "',TEN", 10, {I::NoTerminatingQuote}},
    {"DivisionByZero", "5/0", 0, {I::DivideByZero}},
    {"DigitOutsideRadix", "12b", 4, {I::BadNumber}},
    {"StrayCloseParenthesis", "1)", 1, {I::UnknownToken}},
    {"UnclosedParenthesisEndsAtEnd", "(1+2", 3, {}},
};

INSTANTIATE_TEST_SUITE_P(Rules, Expression, testing::ValuesIn(kExpressionCases),
                         [](const testing::TestParamInfo<ExpressionCase>& info) { return info.param.name; });

TEST(ExpressionLimits, DeepNestingStopsWithOneError)
{
    for (std::string deep : {std::string(100000, '('), std::string(100000, '-') + "1"}) {
        tasm::EvalResult result = tasm::evaluate(deep, Labels());
        ASSERT_EQ(result.errors.size(), 1u);
        EXPECT_EQ(result.errors[0].issue, tasm::EvalIssue::TooComplex);
    }
}

TEST(ExpressionMessages, UnknownTokenPrintsTwoLines)
{
    std::vector<std::string> lines = tasm::messages({tasm::EvalIssue::UnknownToken, ","});
    EXPECT_EQ(lines, (std::vector<std::string>{"Unknown token: (,)", "Unknown token.    "}));
}

}  // namespace
