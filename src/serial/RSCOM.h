#pragma once

#include <cstdint>
#include <string>

#include "SerialPlatform.h"

// The serial port driver and the millisecond clock. One port is held at a
// time. The routines raise nothing and show nothing; on a closed or failed
// port they do nothing.

// Closes a port still held, opens the device named by the first four
// characters of mode and applies the line definition, raw 8-bit transfers
// and the time-outs. True when the port took the line settings.
bool OpenPort(const char* mode);
// Read time-out 1 ms per byte plus t, write time-out 10 ms per byte plus t.
void SetPortTimeouts(std::uint32_t t);
// Closes whatever is held; afterwards no port is held.
void ClosePort();
// Sends the low 8 bits of value, giving up after the write time-out.
void WriteByte(std::int32_t value);
// The next received byte as 0..255, or -1 when none came within the read time-out.
std::int32_t ReadByte();
// Raises DTR for any non-zero on, drops it for zero.
void SetDTR(std::int32_t on);
// Raises RTS for any non-zero on, drops it for zero.
void SetRTS(std::int32_t on);

// Takes the counter's frequency and makes now the clock's zero point.
void StartClock();
// Milliseconds since the zero point.
double ElapsedMs();
// Spins until the clock has advanced by at least ms.
void DelayMs(double ms);

// The device a port name ("COM1") stands for now, or empty.
std::string PortDevice(const char* portName);
// Why the latest open of a port failed.
serial::OpenFailure LastOpenFailure();
