#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tasm {

/// Where a listing line comes from and the address it shows.
struct ListingPrefix {
    int line = 0;
    int depth = 0;
    std::uint16_t address = 0;
    bool skipped = false;
};

/// Writes listing lines: a 24-column prefix (line number, include marks,
/// address, skip mark, up to four bytes), then the source as read, then one
/// continuation line per further four bytes.
class ListingWriter {
public:
    explicit ListingWriter(std::string& out) : out_(out) {}

    void setListing(bool on) { listing_ = on; }
    void setCodes(bool on) { codes_ = on; }

    /// The first statement of a source line; `terminated` adds the LF.
    void line(const ListingPrefix& prefix, const std::vector<std::uint8_t>& bytes, std::string_view source,
              bool terminated);
    /// A further statement after '\' on the same line: no source text.
    void statement(const ListingPrefix& prefix, const std::vector<std::uint8_t>& bytes);

private:
    void head(const ListingPrefix& prefix, std::uint16_t address);

    std::string& out_;
    bool listing_ = true;
    bool codes_ = true;
};

/// The -l label table.
std::string labelTable(const std::vector<std::pair<std::string, std::int32_t>>& symbols);

}  // namespace tasm
