#pragma once

#include "instruction_table.h"
#include "operand_match.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tasm {

/// What the encoder needs from the pass: operand values and an error outlet.
class OperandContext {
public:
    virtual ~OperandContext() = default;
    virtual std::int32_t value(std::string_view expression) = 0;
    virtual void error(const std::string& message) = 0;
};

/// The bytes of one instruction at `pc`, always `row.size` of them.
std::vector<std::uint8_t> encode(const Instruction& row, const OperandMatch& match, std::uint16_t pc,
                                 OperandContext& context);

}  // namespace tasm
