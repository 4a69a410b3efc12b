#include "encoder.h"

#include "messages.h"

namespace tasm {

namespace {

std::uint8_t low(std::int32_t value) { return static_cast<std::uint8_t>(value & 0xFF); }

// Branch targets are 16-bit addresses, whatever the expression's width.
std::int32_t address(std::int32_t value) { return value & 0xFFFF; }

std::uint8_t checkedByte(std::int32_t value, OperandContext& context)
{
    if (value > 0xFF)
        context.error(msg::unusedMsByte(value));
    return low(value);
}

// The offset from the end of the instruction, or nothing when out of range.
bool relative(std::int32_t target, std::uint16_t pc, int size, std::uint8_t& offset, OperandContext& context)
{
    int distance = address(target) - (pc + size);
    if (distance < -128 || distance > 127) {
        context.error(msg::kRelativeRange);
        return false;
    }
    offset = low(distance);
    return true;
}

}  // namespace

std::vector<std::uint8_t> encode(const Instruction& row, const OperandMatch& match, std::uint16_t pc,
                                 OperandContext& context)
{
    auto opcode = static_cast<std::uint8_t>(row.opcode + match.reg);
    auto arg = [&](int n) { return context.value(match.expressions[n]); };
    switch (row.encoding) {
    case Encoding::Opcode:
        return {opcode};
    case Encoding::Byte:
        return {opcode, checkedByte(arg(0), context)};
    case Encoding::Rel: {
        std::uint8_t offset = 0;
        relative(arg(0), pc, row.size, offset, context);
        return {opcode, offset};
    }
    case Encoding::ByteRel: {
        std::int32_t first = arg(0);
        std::uint8_t offset = 0;
        // Out of range, the reference clears every operand byte, not just the offset.
        if (!relative(arg(1), pc, row.size, offset, context))
            return {opcode, 0, 0};
        return {opcode, low(first), offset};
    }
    case Encoding::ByteByte: {
        std::int32_t first = arg(0);
        return {opcode, low(first), low(arg(1))};
    }
    case Encoding::DirDir: {
        std::int32_t destination = arg(0);
        return {opcode, low(arg(1)), low(destination)};
    }
    case Encoding::Word: {
        std::int32_t value = arg(0);
        return {opcode, low(value >> 8), low(value)};
    }
    case Encoding::Abs11: {
        std::int32_t target = address(arg(0));
        if (((pc + 2) & 0xF800) != (target & 0xF800))
            context.error(msg::kOffPage);
        return {static_cast<std::uint8_t>(opcode | ((target >> 3) & 0xE0)), low(target)};
    }
    }
    return {opcode};
}

}  // namespace tasm
