#pragma once

#include <cstdint>
#include <string_view>

namespace tasm {

/// How the operand bytes after the opcode are built.
enum class Encoding : std::uint8_t {
    Opcode,    ///< no operand bytes
    Byte,      ///< one 8-bit value; a value above 255 draws "Unused data"
    Rel,       ///< one branch offset from the next instruction
    ByteRel,   ///< an 8-bit value, then a branch offset
    ByteByte,  ///< two 8-bit values in operand order, truncated silently
    DirDir,    ///< MOV dir,dir: source byte first, then destination
    Word,      ///< a 16-bit value, high byte first
    Abs11,     ///< AJMP/ACALL: address bits 10..8 go into the opcode
};

/// One mnemonic with one operand pattern. In a pattern `Rn` is R0..R7 and
/// `@Ri` is @R0/@R1 (the register number is added to the opcode), `*` is an
/// expression, anything else must be written as shown (case ignored).
struct Instruction {
    const char* mnemonic;
    const char* operands;
    std::uint8_t opcode;
    std::uint8_t size;
    Encoding encoding;
};

struct InstructionRows {
    const Instruction* begin = nullptr;
    const Instruction* end = nullptr;
    bool empty() const { return begin == end; }
};

/// The rows of an upper-case mnemonic in the order they are tried.
InstructionRows rowsFor(std::string_view mnemonic);

/// The whole 8051 table.
InstructionRows allInstructions();

}  // namespace tasm
