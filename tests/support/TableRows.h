#pragma once

#include <string>

// Names each row of a GoogleTest table by its name member.
inline const auto RowName = [](const auto& info) { return std::string(info.param.name); };
