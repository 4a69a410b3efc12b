#include "options.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, FixedCallOfTheProgram)
{
    tasm::CommandLine line = tasm::parseCommandLine({"-51", "-b", "work.asm", "work.bin"});
    EXPECT_TRUE(line.fatal.empty());
    EXPECT_TRUE(line.binary);
    EXPECT_EQ(line.source, "work.asm");
    EXPECT_EQ(line.object, "work.bin");
    EXPECT_EQ(line.listing, "work.lst");
}

struct NameCase {
    const char* source;
    const char* listing;
};

class DerivedNames : public testing::TestWithParam<NameCase> {};

TEST_P(DerivedNames, CutAtTheFirstDotOfTheFileName)
{
    EXPECT_EQ(tasm::derivedName(GetParam().source, ".lst"), GetParam().listing);
}

INSTANTIATE_TEST_SUITE_P(Names, DerivedNames,
                         testing::Values(NameCase{"work.asm", "work.lst"}, NameCase{"my.prog.asm", "my.lst"},
                                         NameCase{"noext", "noext.lst"},
                                         NameCase{"../v1.2/prog.asm", "../v1.2/prog.lst"}));

TEST(CommandLine, OptionsReachTheAssembly)
{
    tasm::CommandLine line = tasm::parseCommandLine(
        {"-51", "-fFF", "-h", "-l", "-s", "-q", "-c", "-i", "-dDEBUG", "-d", "N=4", "a.asm"});
    EXPECT_EQ(line.assembly.fill, 0xFF);
    EXPECT_TRUE(line.assembly.hexTable && line.assembly.labelTable && line.assembly.ignoreCase);
    EXPECT_TRUE(line.symbolFile && line.noListing && line.contiguous);
    using Define = std::pair<std::string, std::string>;
    EXPECT_EQ(line.assembly.defines, (std::vector<Define>{{"DEBUG", ""}, {"N", "4"}}));
    EXPECT_EQ(line.object, "a.obj");
    EXPECT_EQ(line.symbols, "a.sym");
}

TEST(CommandLine, UnknownOptionIsNotedAndIgnored)
{
    tasm::CommandLine line = tasm::parseCommandLine({"-51", "-z", "work.asm"});
    EXPECT_TRUE(line.fatal.empty());
    ASSERT_EQ(line.notes.size(), 1u);
    EXPECT_NE(line.notes[0].find("-z"), std::string::npos);
}

TEST(CommandLine, OtherTablesAndNoSourceAreFatal)
{
    EXPECT_FALSE(tasm::parseCommandLine({"-65", "work.asm"}).fatal.empty());
    EXPECT_FALSE(tasm::parseCommandLine({"-51"}).fatal.empty());
}

}  // namespace
