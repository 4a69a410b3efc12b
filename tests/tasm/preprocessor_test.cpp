#include "preprocessor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kind = tasm::Preprocessor::Kind;

// Runs lines through a fresh preprocessor; #if takes the number it is given.
std::vector<tasm::Preprocessor::Result> run(const std::vector<std::string>& lines)
{
    tasm::Preprocessor preprocessor;
    preprocessor.reset({{"PRESET", "7"}});
    auto number = [](std::string_view text) { return static_cast<std::int32_t>(std::stol(std::string(text))); };
    std::vector<tasm::Preprocessor::Result> results;
    for (const std::string& line : lines)
        results.push_back(preprocessor.process(line, number));
    return results;
}

std::string lastCode(const std::vector<std::string>& lines)
{
    auto results = run(lines);
    EXPECT_EQ(results.back().kind, Kind::Code);
    return results.back().text;
}

struct ExpansionCase {
    const char* name;
    std::vector<std::string> lines;
    const char* expanded;
};

class Expansion : public testing::TestWithParam<ExpansionCase> {};

TEST_P(Expansion, SubstitutesWholeNames)
{
    EXPECT_EQ(lastCode(GetParam().lines), GetParam().expanded);
}

const ExpansionCase kExpansionCases[] = {
    {"WholeNamesOnly", {"#define N 4", " mov a,#N+N1+xN"}, " mov a,#4+N1+xN"},
    {"NotInStringsOrCharacters", {"#define N 4", " .db \"N\",'N',N"}, " .db \"N\",'N',4"},
    {"NotInsideNumbers", {"#define FFh 1", " .db 0FFh"}, " .db 0FFh"},
    {"CommentDropped", {"#define N 4", " mov a,#N ; N"}, " mov a,#4 "},
    {"Rescanned", {"#define N 4", "#define NN (N*2)", " .db NN"}, " .db (4*2)"},
    {"Arguments", {"#define LOAD(reg,val) mov reg,#val", " LOAD(r0, 5)"}, " mov r0,#5"},
    {"ArgumentWithParentheses", {"#define P(x) .db x", " P((1,2))"}, " .db (1,2)"},
    {"MissingArgumentsLeaveTheName", {"#define P(x) .db x", " P"}, " P"},
    {"DefcontAppends", {"#define INIT clr a", "#defcont \\ inc a", " INIT"}, " clr a\\ inc a"},
    {"SelfReferenceExpandsOnce", {"#define A A+1", " .db A"}, " .db A+1"},
    {"CommandLineDefine", {" .db PRESET"}, " .db 7"},
    {"DotPrefixWorksToo", {".define N 4", " .db N"}, " .db 4"},
};

INSTANTIATE_TEST_SUITE_P(Macros, Expansion, testing::ValuesIn(kExpansionCases),
                         [](const testing::TestParamInfo<ExpansionCase>& info) { return info.param.name; });

TEST(Preprocessor, ConditionalsNestAndMarkWhatTheySkip)
{
    auto results = run({
        "#ifdef PRESET",   // holds
        "  #if 0",         // fails
        "    a",
        "  #else",
        "    b",
        "  #endif",
        "#else",
        "  c",
        "  #ifndef X",     // inside a false branch: skipped whatever it says
        "  #endif",
        "#endif",
        "d",
    });
    std::vector<Kind> kinds;
    for (const auto& result : results)
        kinds.push_back(result.kind);
    EXPECT_EQ(kinds, (std::vector<Kind>{Kind::Directive, Kind::Skipped, Kind::Skipped, Kind::Directive,
                                        Kind::Code, Kind::Directive, Kind::Skipped, Kind::Skipped,
                                        Kind::Skipped, Kind::Skipped, Kind::Directive, Kind::Code}));
}

TEST(Preprocessor, DefinesInsideFalseBranchesAreIgnored)
{
    EXPECT_EQ(lastCode({"#if 0", "#define N 4", "#endif", "N"}), "N");
}

TEST(Preprocessor, IncludeNames)
{
    auto results = run({"#include \"board.inc\"", "#include <sys.inc> ; x", "  #include plain.inc"});
    for (const auto& result : results)
        EXPECT_EQ(result.kind, Kind::Include);
    EXPECT_EQ(results[0].text, "board.inc");
    EXPECT_EQ(results[1].text, "sys.inc");
    EXPECT_EQ(results[2].text, "plain.inc");
}

TEST(Preprocessor, LongLinesAreNotCut)
{
    std::string line = " .db \"" + std::string(2 * tasm::Preprocessor::kMaxExpansion, 'a') + "\", N";
    auto results = run({"#define N 4", line});
    EXPECT_TRUE(results.back().errors.empty());
    EXPECT_EQ(results.back().text, line.substr(0, line.size() - 1) + "4");
}

TEST(Preprocessor, DoublingMacrosStopAtTheExpansionLimit)
{
    std::vector<std::string> lines{"#define M0 x"};
    for (int i = 1; i <= 40; ++i)
        lines.push_back("#define M" + std::to_string(i) + " M" + std::to_string(i - 1) + " M" + std::to_string(i - 1));
    lines.push_back("M40");
    auto results = run(lines);
    EXPECT_LE(results.back().text.size(), tasm::Preprocessor::kMaxExpansion + 64);
    EXPECT_EQ(results.back().errors.size(), 1u);
}

}  // namespace
