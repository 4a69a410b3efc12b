#pragma once

#include <functional>
#include <map>

#include "SerialPlatform.h"

namespace serial {

// Serial ports through termios, with the time-outs kept here and carried
// out by ppoll against CLOCK_MONOTONIC.
class PosixSerialPlatform : public Platform {
 public:
  using Resolver = std::function<std::string(const std::string& portName)>;

  // resolve maps a port name to a device path; by default the COM numbering.
  explicit PosixSerialPlatform(Resolver resolve = {});
  ~PosixSerialPlatform() override;

  Handle Open(const std::string& portName) override;
  OpenFailure LastOpenFailure() const override { return lastOpenFailure_; }
  std::string DeviceOf(const std::string& portName) const override;
  bool GetSettings(Handle handle, LineSettings& settings) override;
  bool SetSettings(Handle handle, const LineSettings& settings) override;
  bool SetTimeouts(Handle handle, const Timeouts& timeouts) override;
  std::size_t Read(Handle handle, std::uint8_t* buffer, std::size_t count) override;
  std::size_t Write(Handle handle, const std::uint8_t* data, std::size_t count) override;
  bool SetLine(Handle handle, ModemLine line, bool raised) override;
  bool Close(Handle handle) override;

 private:
  struct Port {
    int fd = -1;
    Timeouts timeouts;
  };
  Port* Find(Handle handle);

  Resolver resolve_;
  std::map<Handle, Port> ports_;
  Handle nextHandle_ = 1;
  OpenFailure lastOpenFailure_ = OpenFailure::None;
};

class PosixCounter : public Counter {
 public:
  std::int64_t Frequency() override;
  std::int64_t Now() override;
};

}  // namespace serial
