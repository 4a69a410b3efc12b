#pragma once

#include <string>
#include <vector>

namespace serial {

// The serial devices of this machine in the order that gives them their
// COM numbers: /dev/ttyS* with UART hardware that are not the kernel's
// console, then /dev/ttyUSB*, then /dev/ttyACM*, each by number. root is
// prepended to /dev and /sys, so tests can pass a tree of their own.
std::vector<std::string> SerialDevices(const std::string& root = "");

// "COMn" stands for the n-th of SerialDevices, or for nothing.
std::string ResolvePortName(const std::string& portName, const std::string& root = "");

}  // namespace serial
