#include "listing.h"

#include "text.h"

#include <algorithm>

namespace tasm {

namespace {

constexpr std::size_t kPrefixWidth = 24;
constexpr std::size_t kBytesPerLine = 4;

void appendByte(std::string& out, std::uint8_t byte)
{
    out += hexUpper(byte, 2);
    out += ' ';
}

}  // namespace

void ListingWriter::head(const ListingPrefix& prefix, std::uint16_t address)
{
    out_ += decimal(prefix.line, 4);
    std::string marks(static_cast<std::size_t>(std::clamp(prefix.depth, 0, 3)), '+');
    marks.resize(3, ' ');
    out_ += marks;
    out_ += hexUpper(address, 4);
    out_ += prefix.skipped ? '~' : ' ';
}

void ListingWriter::line(const ListingPrefix& prefix, const std::vector<std::uint8_t>& bytes,
                          std::string_view source, bool terminated)
{
    if (!listing_)
        return;
    std::size_t start = out_.size();
    head(prefix, prefix.address);
    std::size_t shown = codes_ ? bytes.size() : 0;
    for (std::size_t i = 0; i < std::min(shown, kBytesPerLine); ++i)
        appendByte(out_, bytes[i]);
    out_.resize(std::max(out_.size(), start + kPrefixWidth), ' ');
    out_ += source;
    if (terminated)
        out_ += '\n';
    for (std::size_t i = kBytesPerLine; i < shown; i += kBytesPerLine) {
        head(prefix, static_cast<std::uint16_t>(prefix.address + i));
        for (std::size_t j = i; j < std::min(shown, i + kBytesPerLine); ++j)
            appendByte(out_, bytes[j]);
        out_ += '\n';
    }
}

void ListingWriter::statement(const ListingPrefix& prefix, const std::vector<std::uint8_t>& bytes)
{
    line(prefix, bytes, {}, true);
}

std::string labelTable(const std::vector<std::pair<std::string, std::int32_t>>& symbols)
{
    std::string out = "\n\nLabel                            Value\n"
                      "---------------------------------------\n";
    for (const auto& [name, value] : symbols) {
        std::string row = name;
        row.resize(std::max<std::size_t>(row.size() + 1, 33), ' ');
        out += row + hexUpper(static_cast<std::uint32_t>(value) & 0xFFFF, 4) + "\n";
    }
    return out;
}

}  // namespace tasm
