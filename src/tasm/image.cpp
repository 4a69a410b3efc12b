#include "image.h"

#include "text.h"

namespace tasm {

void Image::write(std::uint16_t address, std::uint8_t value)
{
    bytes_[address] = value;
    written_[address] = true;
    if (address < low_)
        low_ = address;
    if (address > high_)
        high_ = address;
}

std::string Image::binary() const
{
    if (empty())
        return {};
    return std::string(bytes_.begin() + low_, bytes_.begin() + high_ + 1);
}

static std::string record(std::uint16_t address, const std::vector<std::uint8_t>& data, std::uint8_t type)
{
    unsigned sum = static_cast<unsigned>(data.size()) + (address >> 8) + (address & 0xFF) + type;
    std::string line = ":" + hexUpper(static_cast<std::uint32_t>(data.size()), 2) + hexUpper(address, 4)
                       + hexUpper(type, 2);
    for (std::uint8_t byte : data) {
        line += hexUpper(byte, 2);
        sum += byte;
    }
    return line + hexUpper((0x100 - (sum & 0xFF)) & 0xFF, 2) + "\n";
}

std::string Image::intelHex(bool contiguous) const
{
    constexpr std::size_t kRecordBytes = 24;
    std::string out;
    std::vector<std::uint8_t> data;
    long start = 0;
    auto flush = [&]() {
        if (!data.empty())
            out += record(static_cast<std::uint16_t>(start), data, 0);
        data.clear();
    };
    for (long address = low_; address <= high_; ++address) {
        bool take = contiguous || written_[static_cast<std::size_t>(address)];
        if (!take || data.size() == kRecordBytes)
            flush();
        if (!take)
            continue;
        if (data.empty())
            start = address;
        data.push_back(bytes_[static_cast<std::size_t>(address)]);
    }
    flush();
    return out + record(0, {}, 1);
}

std::string Image::hexTable() const
{
    std::string out;
    if (empty())
        return out;
    for (long row = low_ & ~0xFL; row <= high_; row += 16) {
        out += hexUpper(static_cast<std::uint32_t>(row), 4) + " ";
        for (long address = row; address < row + 16; ++address)
            out += " " + hexUpper(bytes_[static_cast<std::size_t>(address)], 2);
        out += "\n";
    }
    return out;
}

}  // namespace tasm
