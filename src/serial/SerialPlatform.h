#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace serial {

// Platform handle of a port: zero is "none", all bits set is the failure value.
using Handle = std::intptr_t;
inline constexpr Handle kNoHandle = 0;
inline constexpr Handle kInvalidHandle = -1;

enum class StopBits { One, OnePointFive, Two };

// The line definition a port runs with.
struct LineSettings {
  std::uint32_t baudRate = 9600;
  char parity = 'N';  // N, E, O, M or S
  int dataBits = 8;
  StopBits stopBits = StopBits::One;
};

// Milliseconds; a read of n bytes gives up after n * readTotalMultiplier +
// readTotalConstant, a write of n bytes after n * writeTotalMultiplier +
// writeTotalConstant.
struct Timeouts {
  std::uint32_t readInterval = 0;
  std::uint32_t readTotalMultiplier = 0;
  std::uint32_t readTotalConstant = 0;
  std::uint32_t writeTotalMultiplier = 0;
  std::uint32_t writeTotalConstant = 0;
};

enum class ModemLine { Dtr, Rts };

enum class OpenFailure { None, NoDevice, PermissionDenied, InUse, Other };

// The operating system's serial layer, one call per operation. Every call
// on a handle that is not open (none, the failure value, or closed) is
// refused: false, or no bytes.
class Platform {
 public:
  virtual ~Platform() = default;

  // Opens the named port ("COM1") for exclusive use; kInvalidHandle on failure.
  virtual Handle Open(const std::string& portName) = 0;
  // Why the latest Open failed; None after one that succeeded.
  virtual OpenFailure LastOpenFailure() const = 0;
  // The device the port name stands for now, or empty when there is none.
  virtual std::string DeviceOf(const std::string& portName) const = 0;

  // Reads the port's current line settings.
  virtual bool GetSettings(Handle handle, LineSettings& settings) = 0;
  // Applies settings for raw 8-bit transfers with no flow control of any
  // kind; DTR and RTS end up dropped. True when the port took them.
  virtual bool SetSettings(Handle handle, const LineSettings& settings) = 0;
  virtual bool SetTimeouts(Handle handle, const Timeouts& timeouts) = 0;

  // Reads up to count bytes within the read time-outs; returns the count read.
  virtual std::size_t Read(Handle handle, std::uint8_t* buffer, std::size_t count) = 0;
  // Writes up to count bytes within the write time-outs; returns the count written.
  virtual std::size_t Write(Handle handle, const std::uint8_t* data, std::size_t count) = 0;

  virtual bool SetLine(Handle handle, ModemLine line, bool raised) = 0;
  virtual bool Close(Handle handle) = 0;
};

// Reads a monotonic counter; only its frequency and 64-bit count are used.
class Counter {
 public:
  virtual ~Counter() = default;
  virtual std::int64_t Frequency() = 0;  // ticks per second
  virtual std::int64_t Now() = 0;
};

}  // namespace serial
