#include "test_support.h"

#include <gtest/gtest.h>

namespace {

struct EncodingCase {
    const char* name;
    const char* source;   // ".end" is appended
    const char* bytes;    // the whole image
    const char* error;    // the one expected error, or nullptr
};

class Encoding : public testing::TestWithParam<EncodingCase> {};

TEST_P(Encoding, AssemblesToTheReferenceBytes)
{
    const EncodingCase& c = GetParam();
    tasm::Result result = tasm::test::assembleText(std::string(c.source) + "\n .end\n");
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

const EncodingCase kEncodingCases[] = {
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

INSTANTIATE_TEST_SUITE_P(Rules, Encoding, testing::ValuesIn(kEncodingCases),
                         [](const testing::TestParamInfo<EncodingCase>& info) { return info.param.name; });

}  // namespace
