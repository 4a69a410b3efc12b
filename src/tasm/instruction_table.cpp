#include "instruction_table.h"

#include <iterator>
#include <string>
#include <unordered_map>

namespace tasm {

namespace {

using E = Encoding;

// Rows of one mnemonic stay together and are tried top to bottom, so a
// register form comes before the `*` form that would also match it.
const Instruction kTable[] = {
    // mnemonic operands    opcode size encoding
    {"ACALL", "*",          0x11, 2, E::Abs11},
    {"ADD",   "A,Rn",       0x28, 1, E::Opcode},
    {"ADD",   "A,@Ri",      0x26, 1, E::Opcode},
    {"ADD",   "A,#*",       0x24, 2, E::Byte},
    {"ADD",   "A,*",        0x25, 2, E::Byte},
    {"ADDC",  "A,Rn",       0x38, 1, E::Opcode},
    {"ADDC",  "A,@Ri",      0x36, 1, E::Opcode},
    {"ADDC",  "A,#*",       0x34, 2, E::Byte},
    {"ADDC",  "A,*",        0x35, 2, E::Byte},
    {"AJMP",  "*",          0x01, 2, E::Abs11},
    {"ANL",   "A,Rn",       0x58, 1, E::Opcode},
    {"ANL",   "A,@Ri",      0x56, 1, E::Opcode},
    {"ANL",   "A,#*",       0x54, 2, E::Byte},
    {"ANL",   "A,*",        0x55, 2, E::Byte},
    {"ANL",   "C,/*",       0xB0, 2, E::Byte},
    {"ANL",   "C,*",        0x82, 2, E::Byte},
    {"ANL",   "*,A",        0x52, 2, E::Byte},
    {"ANL",   "*,#*",       0x53, 3, E::ByteByte},
    {"CJNE",  "A,#*,*",     0xB4, 3, E::ByteRel},
    {"CJNE",  "A,*,*",      0xB5, 3, E::ByteRel},
    {"CJNE",  "@Ri,#*,*",   0xB6, 3, E::ByteRel},
    {"CJNE",  "Rn,#*,*",    0xB8, 3, E::ByteRel},
    {"CLR",   "A",          0xE4, 1, E::Opcode},
    {"CLR",   "C",          0xC3, 1, E::Opcode},
    {"CLR",   "*",          0xC2, 2, E::Byte},
    {"CPL",   "A",          0xF4, 1, E::Opcode},
    {"CPL",   "C",          0xB3, 1, E::Opcode},
    {"CPL",   "*",          0xB2, 2, E::Byte},
    {"DA",    "A",          0xD4, 1, E::Opcode},
    {"DEC",   "A",          0x14, 1, E::Opcode},
    {"DEC",   "Rn",         0x18, 1, E::Opcode},
    {"DEC",   "@Ri",        0x16, 1, E::Opcode},
    {"DEC",   "*",          0x15, 2, E::Byte},
    {"DIV",   "AB",         0x84, 1, E::Opcode},
    {"DJNZ",  "Rn,*",       0xD8, 2, E::Rel},
    {"DJNZ",  "*,*",        0xD5, 3, E::ByteRel},
    {"INC",   "A",          0x04, 1, E::Opcode},
    {"INC",   "Rn",         0x08, 1, E::Opcode},
    {"INC",   "@Ri",        0x06, 1, E::Opcode},
    {"INC",   "DPTR",       0xA3, 1, E::Opcode},
    {"INC",   "*",          0x05, 2, E::Byte},
    {"JB",    "*,*",        0x20, 3, E::ByteRel},
    {"JBC",   "*,*",        0x10, 3, E::ByteRel},
    {"JC",    "*",          0x40, 2, E::Rel},
    {"JMP",   "@A+DPTR",    0x73, 1, E::Opcode},
    {"JNB",   "*,*",        0x30, 3, E::ByteRel},
    {"JNC",   "*",          0x50, 2, E::Rel},
    {"JNZ",   "*",          0x70, 2, E::Rel},
    {"JZ",    "*",          0x60, 2, E::Rel},
    {"LCALL", "*",          0x12, 3, E::Word},
    {"LJMP",  "*",          0x02, 3, E::Word},
    {"MOV",   "A,Rn",       0xE8, 1, E::Opcode},
    {"MOV",   "A,@Ri",      0xE6, 1, E::Opcode},
    {"MOV",   "A,#*",       0x74, 2, E::Byte},
    {"MOV",   "A,*",        0xE5, 2, E::Byte},
    {"MOV",   "Rn,A",       0xF8, 1, E::Opcode},
    {"MOV",   "Rn,#*",      0x78, 2, E::Byte},
    {"MOV",   "Rn,*",       0xA8, 2, E::Byte},
    {"MOV",   "@Ri,A",      0xF6, 1, E::Opcode},
    {"MOV",   "@Ri,#*",     0x76, 2, E::Byte},
    {"MOV",   "@Ri,*",      0xA6, 2, E::Byte},
    {"MOV",   "C,*",        0xA2, 2, E::Byte},
    {"MOV",   "DPTR,#*",    0x90, 3, E::Word},
    {"MOV",   "*,A",        0xF5, 2, E::Byte},
    {"MOV",   "*,C",        0x92, 2, E::Byte},
    {"MOV",   "*,Rn",       0x88, 2, E::Byte},
    {"MOV",   "*,@Ri",      0x86, 2, E::Byte},
    {"MOV",   "*,#*",       0x75, 3, E::ByteByte},
    {"MOV",   "*,*",        0x85, 3, E::DirDir},
    {"MOVC",  "A,@A+DPTR",  0x93, 1, E::Opcode},
    {"MOVC",  "A,@A+PC",    0x83, 1, E::Opcode},
    {"MOVX",  "A,@Ri",      0xE2, 1, E::Opcode},
    {"MOVX",  "A,@DPTR",    0xE0, 1, E::Opcode},
    {"MOVX",  "@Ri,A",      0xF2, 1, E::Opcode},
    {"MOVX",  "@DPTR,A",    0xF0, 1, E::Opcode},
    {"MUL",   "AB",         0xA4, 1, E::Opcode},
    {"NOP",   "",           0x00, 1, E::Opcode},
    {"ORL",   "A,Rn",       0x48, 1, E::Opcode},
    {"ORL",   "A,@Ri",      0x46, 1, E::Opcode},
    {"ORL",   "A,#*",       0x44, 2, E::Byte},
    {"ORL",   "A,*",        0x45, 2, E::Byte},
    {"ORL",   "C,/*",       0xA0, 2, E::Byte},
    {"ORL",   "C,*",        0x72, 2, E::Byte},
    {"ORL",   "*,A",        0x42, 2, E::Byte},
    {"ORL",   "*,#*",       0x43, 3, E::ByteByte},
    {"POP",   "*",          0xD0, 2, E::Byte},
    {"PUSH",  "*",          0xC0, 2, E::Byte},
    {"RET",   "",           0x22, 1, E::Opcode},
    {"RETI",  "",           0x32, 1, E::Opcode},
    {"RL",    "A",          0x23, 1, E::Opcode},
    {"RLC",   "A",          0x33, 1, E::Opcode},
    {"RR",    "A",          0x03, 1, E::Opcode},
    {"RRC",   "A",          0x13, 1, E::Opcode},
    {"SETB",  "C",          0xD3, 1, E::Opcode},
    {"SETB",  "*",          0xD2, 2, E::Byte},
    {"SJMP",  "*",          0x80, 2, E::Rel},
    {"SUBB",  "A,Rn",       0x98, 1, E::Opcode},
    {"SUBB",  "A,@Ri",      0x96, 1, E::Opcode},
    {"SUBB",  "A,#*",       0x94, 2, E::Byte},
    {"SUBB",  "A,*",        0x95, 2, E::Byte},
    {"SWAP",  "A",          0xC4, 1, E::Opcode},
    {"XCH",   "A,Rn",       0xC8, 1, E::Opcode},
    {"XCH",   "A,@Ri",      0xC6, 1, E::Opcode},
    {"XCH",   "A,*",        0xC5, 2, E::Byte},
    {"XCHD",  "A,@Ri",      0xD6, 1, E::Opcode},
    {"XRL",   "A,Rn",       0x68, 1, E::Opcode},
    {"XRL",   "A,@Ri",      0x66, 1, E::Opcode},
    {"XRL",   "A,#*",       0x64, 2, E::Byte},
    {"XRL",   "A,*",        0x65, 2, E::Byte},
    {"XRL",   "*,A",        0x62, 2, E::Byte},
    {"XRL",   "*,#*",       0x63, 3, E::ByteByte},
};

using Index = std::unordered_map<std::string, InstructionRows>;

Index buildIndex()
{
    Index index;
    for (const Instruction& row : kTable) {
        InstructionRows& rows = index[row.mnemonic];
        if (rows.empty())
            rows.begin = &row;
        rows.end = &row + 1;
    }
    return index;
}

}  // namespace

InstructionRows rowsFor(std::string_view mnemonic)
{
    static const Index index = buildIndex();
    auto found = index.find(std::string(mnemonic));
    return found == index.end() ? InstructionRows{} : found->second;
}

InstructionRows allInstructions()
{
    return {std::begin(kTable), std::end(kTable)};
}

}  // namespace tasm
