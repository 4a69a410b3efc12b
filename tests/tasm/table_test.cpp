#include "encoder.h"
#include "instruction_table.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

int variants(const tasm::Instruction& row)
{
    std::string pattern = row.operands;
    if (row.encoding == tasm::Encoding::Abs11)
        return 8;
    if (pattern.find("Rn") != std::string::npos)
        return 8;
    if (pattern.find("@Ri") != std::string::npos)
        return 2;
    return 1;
}

int opcodeStep(const tasm::Instruction& row) { return row.encoding == tasm::Encoding::Abs11 ? 0x20 : 1; }

TEST(InstructionTable, CoversEveryOpcodeButA5ExactlyOnce)
{
    std::array<int, 256> seen{};
    tasm::InstructionRows rows = tasm::allInstructions();
    for (const tasm::Instruction* row = rows.begin; row != rows.end; ++row) {
        for (int i = 0; i < variants(*row); ++i)
            ++seen[static_cast<std::size_t>(row->opcode + i * opcodeStep(*row)) & 0xFF];
    }
    for (int opcode = 0; opcode < 256; ++opcode)
        EXPECT_EQ(seen[static_cast<std::size_t>(opcode)], opcode == 0xA5 ? 0 : 1) << "opcode " << opcode;
}

class FixedOperands : public tasm::OperandContext {
public:
    std::int32_t value(std::string_view) override { return 0; }
    void error(const std::string&) override {}
};

// Pass 1 counts a row's size; pass 2 emits what the encoder builds. They must agree.
TEST(InstructionTable, SizeOfEveryRowMatchesItsEncoding)
{
    FixedOperands operands;
    tasm::InstructionRows rows = tasm::allInstructions();
    for (const tasm::Instruction* row = rows.begin; row != rows.end; ++row) {
        auto bytes = tasm::encode(*row, tasm::OperandMatch{}, 0, operands);
        EXPECT_EQ(bytes.size(), row->size) << row->mnemonic << " " << row->operands;
    }
}

TEST(InstructionTable, RowsOfAMnemonicAreContiguous)
{
    tasm::InstructionRows rows = tasm::allInstructions();
    for (const tasm::Instruction* row = rows.begin; row != rows.end; ++row) {
        tasm::InstructionRows same = tasm::rowsFor(row->mnemonic);
        EXPECT_TRUE(row >= same.begin && row < same.end) << row->mnemonic << " " << row->operands;
    }
}

}  // namespace
