#include "ProgramState.h"

TZarn* Zarn = nullptr;
QString SourceFileName;
std::int32_t SelectedPort = 2;
