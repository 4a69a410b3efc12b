#include "test_support.h"

#include <gtest/gtest.h>

namespace {

struct ImageCase {
    const char* name;
    const char* source;     // ".end" is appended
    const char* bytes;      // the whole image
    const char* error;      // the one expected error, or nullptr
    tasm::Options options{};
};

class Image : public testing::TestWithParam<ImageCase> {};

TEST_P(Image, HoldsTheReferenceBytes)
{
    const ImageCase& c = GetParam();
    tasm::Result result = tasm::test::assembleText(std::string(c.source) + "\n .end\n", {}, c.options);
    EXPECT_EQ(tasm::test::spacedHex(result.image.binary()), c.bytes);
    if (c.error) {
        EXPECT_EQ(result.errors, 1) << result.console;
        EXPECT_NE(result.console.find(c.error), std::string::npos) << result.console;
    } else {
        EXPECT_EQ(result.errors, 0) << result.console;
    }
}

const char* const kRange = "Range of relative branch exceeded.";
const char* const kPage = "Branch off of current 2K page.";
const char* const kMsByte = "Unused data in MS byte of argument. (1)";

const ImageCase kEncodingCases[] = {
    {"SjmpForward127", " sjmp t\n .org 81h\nt:", "80 7F", nullptr},
    {"SjmpForward128", " sjmp t\n .org 82h\nt:", "80 00", kRange},
    {"SjmpBack128", " .org 100h\n sjmp $-126", "80 80", nullptr},
    {"SjmpBack129", " .org 100h\n sjmp $-127", "80 00", kRange},
    {"DjnzRegisterBack128", " .org 100h\n djnz r7,$-126", "DF 80", nullptr},
    {"CjneForward127", " cjne a,#5,$+130", "B4 05 7F", nullptr},
    {"CjneForward128ClearsBothOperands", " cjne a,#5,$+131", "B4 00 00", kRange},
    {"JbBack128", " .org 100h\n jb 20h,$-125", "20 20 80", nullptr},
    {"JbBack129ClearsTheBit", " .org 100h\n jb 20h,$-126", "20 00 00", kRange},
    {"AjmpToLastByteOfPage", " .org 7FDh\n ajmp 7FFh", "E1 FF", nullptr},
    {"AjmpFromPageEndCountsNextInstruction", " .org 7FEh\n ajmp 800h", "01 00", nullptr},
    {"AcallAcrossPageEdge", " .org 7FDh\n acall 800h", "11 00", kPage},
    {"AjmpBackAcrossPageEdge", " .org 800h\n ajmp 7FFh", "E1 FF", kPage},
    {"AcallPutsA10ToA8InOpcode", " acall 567h", "B1 67", nullptr},
    {"MovDirDirSourceFirst", " mov 30h,40h", "85 40 30", nullptr},
    {"MovDptrHighByteFirst", " mov dptr,#1234h", "90 12 34", nullptr},
    {"LjmpHighByteFirst", " ljmp 0ABCDh", "02 AB CD", nullptr},
    {"LcallHighByteFirst", " lcall 1234h", "12 12 34", nullptr},
    {"DwLowByteFirst", " .dw 1234h, 0ABCDh", "34 12 CD AB", nullptr},
    {"ImmediateAbove255", " mov a,#256", "74 00", kMsByte},
    {"DirectAbove255", " mov 300,a", "F5 2C", kMsByte},
    {"BitAbove255", " setb 100h", "D2 00", kMsByte},
    {"MovDirImmTruncatesSilently", " mov 100h,#1FFh", "75 00 FF", nullptr},
    {"NegativeImmediateIsSilent", " mov r1,#-300", "79 D4", nullptr},
    {"BitOperandWithSlash", " anl c,/0E7h", "B0 E7", nullptr},
    {"RegisterNumberInOpcode", " mov r5,a\n xch a,@r1", "FD C7", nullptr},
    {"R8IsALabelNotARegister", "r8 .equ 30h\n mov r8,a", "F5 30", nullptr},
};

tasm::Options fill(std::uint8_t byte)
{
    tasm::Options options;
    options.fill = byte;
    return options;
}

tasm::Options ignoreCase()
{
    tasm::Options options;
    options.ignoreCase = true;
    return options;
}

const ImageCase kDirectiveCases[] = {
    {"GapsTakeTheFillByte", " nop\n .org 4\n nop", "00 FF FF FF 00", nullptr, fill(0xFF)},
    {"BlockInsideTheImageIsAGap", " nop\n .block 2\n nop", "00 FF FF 00", nullptr, fill(0xFF)},
    {"TrailingBlockDoesNotWidenTheImage", " nop\n .block 4\n .org 100h", "00", nullptr},
    {"OrgBackwardsOverwrites", " .db 1,2,3\n .org 1\n .db 9", "01 09 03", nullptr},
    {"ImageStartsAtLowestAddress", " .org 10h\n .db 1\n .org 0Eh\n .db 2", "02 00 01", nullptr},
    {"FillDefaultsToFF", " .fill 2\n .fill 1,'*'", "FF FF 2A", nullptr},
    {"TextEscapes", " .text \"a\\tb\\\"\\101\"", "61 09 62 22 41", nullptr},
    {"DwOfAStringIsOneWordPerCharacter", " .dw \"ab\"", "61 00 62 00", nullptr},
    {"SetTakesEffectInOrder", "x .set 1\n .db x\nx .set 2\n .db x", "01 02", nullptr},
    {"ChecksumOfBytesSoFar", " .db 1,2,0FFh\n .chk 0", "01 02 FF 02", nullptr},
    {"LabelOnOrgTakesTheNewAddress", "here .org 12h\n .dw here", "12 00", nullptr},
    {"LocalLabelsPerModule",
     " .module a\n_l: .db _l\n .module b\n_l: .db _l", "00 01", nullptr},
    {"LinesAfterEndAreAssembled", " .db 1\n .end\n .db 2", "01 02", nullptr},
    {"LabelsAreCaseSensitive", "Start: nop\n sjmp start", "00 80 FD", "Label not found: (start)"},
    {"IgnoreCaseOption", "Start: nop\n sjmp start", "00 80 FD", nullptr, ignoreCase()},
    {"ForwardReferenceInEquate", "a .equ b\nb .equ 1\n .db a", "00", "Forward reference in equate: (b)"},
};

auto caseName = [](const testing::TestParamInfo<ImageCase>& info) { return info.param.name; };

INSTANTIATE_TEST_SUITE_P(EncodingRules, Image, testing::ValuesIn(kEncodingCases), caseName);
INSTANTIATE_TEST_SUITE_P(Directives, Image, testing::ValuesIn(kDirectiveCases), caseName);

// Found by the fuzzer: twenty self-inclusions took 20^8 passes over the file.
TEST(Include, SelfInclusionIsRefused)
{
    std::string source;
    for (int i = 0; i < 20; ++i)
        source += "#include \"work.asm\"\n";
    tasm::Result result = tasm::test::assembleText(source + " nop\n .end\n");
    EXPECT_EQ(result.errors, 20) << result.console;
    EXPECT_NE(result.console.find("Include file includes itself.      (work.asm)"), std::string::npos);
    EXPECT_EQ(result.image.binary().size(), 1u);
}

TEST(Include, ChainStopsAtTheDepthLimit)
{
    std::map<std::string, std::string> files;
    for (int i = 0; i < 12; ++i)
        files["f" + std::to_string(i)] = "#include \"f" + std::to_string(i + 1) + "\"\n nop\n";
    tasm::Result result = tasm::test::assembleText("#include \"f0\"\n .end\n", files);
    EXPECT_EQ(result.errors, 1) << result.console;
    EXPECT_NE(result.console.find("f7 line 0001: Include files nested too deep."), std::string::npos)
        << result.console;
    EXPECT_EQ(result.image.binary().size(), 8u);
}

}  // namespace
