#pragma once

#include <string>
#include <vector>

// Every modem-line ioctl the process made since the last clear, as
// "raise DTR RTS" or "drop DTR": a pseudo-terminal refuses them, so this is
// where the driver's line changes can be seen.
std::vector<std::string>& ModemLineCalls();
