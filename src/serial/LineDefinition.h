#pragma once

#include "SerialPlatform.h"

namespace serial {

// Applies a mode string such as "COM1:9600,N,8,2" to settings: an optional
// device name with its colon, then baud rate, parity letter, data bits and
// stop bits. A definition it cannot parse leaves settings untouched and
// returns false.
bool ApplyLineDefinition(const char* mode, LineSettings& settings);

}  // namespace serial
