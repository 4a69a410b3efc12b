#pragma once

#include "file_loader.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tasm {

/// One physical line of a source or include file.
struct SourceLine {
    std::string_view text;     ///< without its line end (LF or CR LF)
    bool terminated = false;   ///< false for a last line that has no line end
    int number = 0;            ///< 1-based, within its own file
    int depth = 0;             ///< 0 for the main file, 1 inside an include, ...
    const std::string* file = nullptr;
};

/// Reads lines from the main file and the files it includes, innermost first.
class SourceReader {
public:
    static constexpr int kMaxDepth = 8;

    explicit SourceReader(const FileLoader& loader) : loader_(loader) {}

    /// Starts over at the main file; false when it cannot be opened.
    bool start(const std::string& mainFile);
    /// Continues in `name` until it ends; false when it cannot be opened.
    bool include(const std::string& name);
    bool next(SourceLine& line);
    int depth() const { return static_cast<int>(frames_.size()) - 1; }
    /// True while `name` is being read, here or further out.
    bool reading(const std::string& name) const;
    /// Lines read so far from the main file.
    int mainLines() const { return mainLines_; }

private:
    struct Frame {
        const std::string* name;
        const std::string* text;
        std::size_t pos;
        int line;
    };

    const std::pair<const std::string, std::optional<std::string>>* cached(const std::string& name);

    const FileLoader& loader_;
    std::map<std::string, std::optional<std::string>> cache_;
    std::vector<Frame> frames_;
    int mainLines_ = 0;
};

}  // namespace tasm
