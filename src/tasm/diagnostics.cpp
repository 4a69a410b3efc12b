#include "diagnostics.h"

#include "text.h"

namespace tasm {

void Diagnostics::emit(std::string_view file, int line, std::string_view message)
{
    std::string text(file);
    text += " line ";
    text += decimal(line, 4);
    text += ": ";
    text += message;
    text += '\n';
    listing_ += text;
    console_ += text;
    ++count_;
}

void Diagnostics::error(std::string_view message)
{
    emit(file_ ? std::string_view(*file_) : std::string_view(), line_, message);
}

void Diagnostics::flush()
{
    for (const std::string& message : later_)
        error(message);
    later_.clear();
}

void Diagnostics::errorWithoutFile(int line, std::string_view message)
{
    emit({}, line, message);
}

}  // namespace tasm
