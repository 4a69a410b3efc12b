#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tasm {

/// The 64K code space and which of its bytes were written.
class Image {
public:
    explicit Image(std::uint8_t fill = 0) : bytes_(kSize, fill), written_(kSize, false) {}

    void write(std::uint16_t address, std::uint8_t value);
    std::uint8_t at(std::uint16_t address) const { return bytes_[address]; }
    bool empty() const { return low_ > high_; }

    /// Lowest to highest written address, gaps as the fill byte; empty when nothing was written.
    std::string binary() const;
    /// Intel hex records of the written bytes, or of the whole range when `contiguous`.
    std::string intelHex(bool contiguous) const;
    /// The -h table: sixteen bytes per line with their address.
    std::string hexTable() const;

private:
    static constexpr std::size_t kSize = 0x10000;

    std::vector<std::uint8_t> bytes_;
    std::vector<bool> written_;
    long low_ = kSize;
    long high_ = -1;
};

}  // namespace tasm
