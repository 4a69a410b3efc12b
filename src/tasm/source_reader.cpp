#include "source_reader.h"

namespace tasm {

const std::pair<const std::string, std::optional<std::string>>* SourceReader::cached(const std::string& name)
{
    auto found = cache_.find(name);
    if (found == cache_.end())
        found = cache_.emplace(name, loader_.load(name)).first;
    return &*found;
}

bool SourceReader::start(const std::string& mainFile)
{
    frames_.clear();
    mainLines_ = 0;
    return include(mainFile);
}

bool SourceReader::include(const std::string& name)
{
    auto entry = cached(name);
    if (!entry->second)
        return false;
    frames_.push_back({&entry->first, &*entry->second, 0, 0});
    return true;
}

bool SourceReader::reading(const std::string& name) const
{
    for (const Frame& frame : frames_) {
        if (*frame.name == name)
            return true;
    }
    return false;
}

bool SourceReader::next(SourceLine& line)
{
    while (!frames_.empty() && frames_.back().pos >= frames_.back().text->size())
        frames_.pop_back();
    if (frames_.empty())
        return false;

    Frame& frame = frames_.back();
    const std::string& text = *frame.text;
    std::size_t end = text.find('\n', frame.pos);
    line.terminated = end != std::string::npos;
    if (!line.terminated)
        end = text.size();
    std::size_t length = end - frame.pos;
    // DOS text mode: CR LF reads as LF, so the listing shows no CR.
    if (line.terminated && length > 0 && text[end - 1] == '\r')
        --length;
    line.text = std::string_view(text).substr(frame.pos, length);
    line.number = ++frame.line;
    line.depth = depth();
    line.file = frame.name;
    frame.pos = line.terminated ? end + 1 : end;
    if (frames_.size() == 1)
        mainLines_ = frame.line;
    return true;
}

}  // namespace tasm
