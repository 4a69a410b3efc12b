#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tasm {

/// Error lines ("work.asm line 0007: ...") into the listing and the console,
/// counted. Some errors stand below their listing line, so they wait.
class Diagnostics {
public:
    Diagnostics(std::string& listing, std::string& console) : listing_(listing), console_(console) {}

    void setLocation(const std::string* file, int line)
    {
        file_ = file;
        line_ = line;
    }
    /// Written now, above the listing line of the statement.
    void error(std::string_view message);
    /// Written by flush(), below the listing line.
    void later(std::string message) { later_.push_back(std::move(message)); }
    void flush();
    /// An error that names no file, as the end-of-source check does.
    void errorWithoutFile(int line, std::string_view message);
    int count() const { return count_; }

private:
    void emit(std::string_view file, int line, std::string_view message);

    std::string& listing_;
    std::string& console_;
    const std::string* file_ = nullptr;
    int line_ = 0;
    int count_ = 0;
    std::vector<std::string> later_;
};

}  // namespace tasm
