#pragma once

#include <QString>
#include <cstdint>

class TZarn;

// The one main window, set as soon as its construction begins.
extern TZarn* Zarn;
// The current source file; only Open, Save and Save as set it.
extern QString SourceFileName;
// The port for uploads: 1 is COM1, 2 is COM2.
extern std::int32_t SelectedPort;
