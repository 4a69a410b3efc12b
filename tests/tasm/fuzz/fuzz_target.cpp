#include "fuzz_entry.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    tasm::fuzz::runOne(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
