#include "test_support.h"

#include <gtest/gtest.h>

namespace {

struct ListingCase {
    const char* name;
    const char* source;
    const char* include;   // served as "inc.inc"
    const char* listing;
};

class Listing : public testing::TestWithParam<ListingCase> {};

TEST_P(Listing, MatchesTheReferenceLayout)
{
    const ListingCase& c = GetParam();
    std::map<std::string, std::string> includes;
    if (c.include)
        includes["inc.inc"] = c.include;
    tasm::Result result = tasm::test::assembleText(c.source, includes);
    EXPECT_EQ(result.listing, c.listing) << tasm::test::firstDifference(c.listing, result.listing);
}

const ListingCase kListingCases[] = {
    {"ContinuationLinesCarryNoSource",
     " .db 1,2,3,4,5\n .end\n", nullptr,
     "0001   0000 01 02 03 04  .db 1,2,3,4,5\n"
     "0001   0004 05 \n"
     "0002   0005              .end\n"
     "tasm: Number of errors = 0\n"},
    {"StatementsAfterBackslashArePadded",
     " clr a\\ inc a\\x: nop\n .end\n", nullptr,
     "0001   0000 E4           clr a\\ inc a\\x: nop\n"
     "0001   0001 04          \n"
     "0001   0002 00          \n"
     "0002   0003              .end\n"
     "tasm: Number of errors = 0\n"},
    {"IncludedLinesAreMarkedAndNumberedAfresh",
     "#include \"inc.inc\"\n nop\n .end\n", " inc a\n",
     "0001   0000             #include \"inc.inc\"\n"
     "0001+  0000 04           inc a\n"
     "0002   0001 00           nop\n"
     "0003   0002              .end\n"
     "tasm: Number of errors = 0\n"},
    {"SkippedLinesAreMarked",
     "#if 0\n nop\n#endif\n .end\n", nullptr,
     "0001   0000~            #if 0\n"
     "0002   0000~             nop\n"
     "0003   0000             #endif\n"
     "0004   0000              .end\n"
     "tasm: Number of errors = 0\n"},
    {"OperandErrorsAboveMisalignedBelow",
     "x: nop\nx: .db y\n .end\n", nullptr,
     "work.asm line 0002: Duplicate label: (x)\n"
     "0001   0000 00          x: nop\n"
     "work.asm line 0002: Label not found: (y)\n"
     "0002   0001 00          x: .db y\n"
     "work.asm line 0002: label value misalligned.           (x)\n"
     "0003   0002              .end\n"
     "tasm: Number of errors = 3\n"},
    {"NolistHidesItselfAndWhatFollows",
     " .nolist\n nop\n .list\n .end\n", nullptr,
     "0003   0001              .list\n"
     "0004   0001              .end\n"
     "tasm: Number of errors = 0\n"},
    {"NocodesDropsTheBytes",
     " .nocodes\n .db 1,2,3,4,5\n .codes\n .end\n", nullptr,
     "0001   0000              .nocodes\n"
     "0002   0000              .db 1,2,3,4,5\n"
     "0003   0005              .codes\n"
     "0004   0005              .end\n"
     "tasm: Number of errors = 0\n"},
    {"LastLineWithoutLineEndRunsOn",
     " nop", nullptr,
     "0001   0000 00           nop line 0001: No END directive before EOF.       \n"
     "tasm: Number of errors = 1\n"},
    {"CrLfReadsAsLf",
     " nop\r\n .end\r\n", nullptr,
     "0001   0000 00           nop\n"
     "0002   0001              .end\n"
     "tasm: Number of errors = 0\n"},
    {"MissingIncludeIsReportedBelowItsLine",
     "#include \"none.inc\"\n .end\n", nullptr,
     "0001   0000             #include \"none.inc\"\n"
     "work.asm line 0001: Unable to open include file.       (none.inc)\n"
     "0002   0000              .end\n"
     "tasm: Number of errors = 1\n"},
};

INSTANTIATE_TEST_SUITE_P(Layout, Listing, testing::ValuesIn(kListingCases),
                         [](const testing::TestParamInfo<ListingCase>& info) { return info.param.name; });

TEST(ListingTables, LabelAndHexTablesComeBeforeTheClosingLine)
{
    tasm::Options options;
    options.labelTable = true;
    options.hexTable = true;
    tasm::Result result = tasm::test::assembleText("start: nop\n .end\n", {}, options);
    std::size_t label = result.listing.find("start");
    std::size_t hex = result.listing.find("0000  00 00");
    std::size_t closing = result.listing.find("tasm: Number of errors = 0");
    EXPECT_NE(result.listing.find("start                            0000\n"), std::string::npos) << result.listing;
    EXPECT_LT(label, hex);
    EXPECT_LT(hex, closing);
}

}  // namespace
