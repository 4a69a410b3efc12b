#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "SerialPlatform.h"

class FakeCounter;

// A serial layer that records every call, with the fake clock's time, and
// plays the ports and the board that tests ask for.
class FakeSerialPlatform : public serial::Platform {
 public:
  struct Call {
    double atMs;
    std::string what;  // "open COM1", "dtr 1", "write 41", "read -1", ...
  };

  explicit FakeSerialPlatform(FakeCounter* clock = nullptr) : clock_(clock) {}

  // Ports that open; any other gives the failure value.
  std::set<std::string> present;
  // Ports that open but refuse every line setting.
  std::set<std::string> refusingSettings;
  // Why an absent port fails to open.
  serial::OpenFailure absentFailure = serial::OpenFailure::NoDevice;
  // What a port reports as its settings before any are applied.
  serial::LineSettings initialSettings{4800, 'E', 7, serial::StopBits::One};
  // Bytes the board has sent and not yet read; an empty queue reads as a
  // time-out of 11 ms on the fake clock.
  std::deque<std::uint8_t> answers;
  // Runs before each write; lets a test change the world mid-upload.
  std::function<void(std::size_t bytesWrittenBefore)> beforeWrite;

  std::vector<Call> calls;
  std::vector<std::uint8_t> written;
  bool dtr = false;
  bool rts = false;
  serial::LineSettings applied;
  serial::Timeouts timeouts;

  // The calls whose text starts with one of the prefixes, in order.
  std::vector<std::string> CallsLike(std::initializer_list<const char*> prefixes) const;
  bool IsOpen(serial::Handle handle) const { return open_.count(handle) != 0; }
  std::size_t OpenHandles() const { return open_.size(); }

  serial::Handle Open(const std::string& portName) override;
  serial::OpenFailure LastOpenFailure() const override { return lastFailure_; }
  std::string DeviceOf(const std::string& portName) const override;
  bool GetSettings(serial::Handle handle, serial::LineSettings& settings) override;
  bool SetSettings(serial::Handle handle, const serial::LineSettings& settings) override;
  bool SetTimeouts(serial::Handle handle, const serial::Timeouts& t) override;
  std::size_t Read(serial::Handle handle, std::uint8_t* buffer, std::size_t count) override;
  std::size_t Write(serial::Handle handle, const std::uint8_t* data, std::size_t count) override;
  bool SetLine(serial::Handle handle, serial::ModemLine line, bool raised) override;
  bool Close(serial::Handle handle) override;

 private:
  double NowMs() const;
  void Record(const std::string& what);
  bool Refuse(serial::Handle handle, const std::string& what);

  FakeCounter* clock_;
  std::map<serial::Handle, std::string> open_;
  serial::Handle nextHandle_ = 100;
  serial::OpenFailure lastFailure_ = serial::OpenFailure::None;
};
