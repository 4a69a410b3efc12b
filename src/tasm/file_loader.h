#pragma once

#include <map>
#include <optional>
#include <string>

namespace tasm {

/// Where source files come from: the disk for the program, memory for tests.
class FileLoader {
public:
    virtual ~FileLoader() = default;
    /// The whole file as bytes; nullopt when it cannot be opened.
    virtual std::optional<std::string> load(const std::string& name) const = 0;
};

/// Opens names as given, so relative names resolve against the working directory.
class DiskLoader : public FileLoader {
public:
    std::optional<std::string> load(const std::string& name) const override;
};

/// Serves a fixed set of named texts.
class MemoryLoader : public FileLoader {
public:
    MemoryLoader() = default;
    explicit MemoryLoader(std::map<std::string, std::string> files) : files_(std::move(files)) {}
    void add(const std::string& name, std::string text) { files_[name] = std::move(text); }
    std::optional<std::string> load(const std::string& name) const override;

private:
    std::map<std::string, std::string> files_;
};

}  // namespace tasm
