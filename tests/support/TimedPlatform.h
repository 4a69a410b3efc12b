#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "PlatformSeam.h"
#include "PosixSerialPlatform.h"

// The operating system's serial layer, noting on the monotonic clock when
// the program opens the port, changes a line, starts a write and closes
// the port. It stands under the driver while it lives.
class TimedPlatform : public serial::PosixSerialPlatform {
 public:
  struct Event {
    double atMs;
    std::string what;  // "open", "dtr 1", "rts 0", "write", "close"
  };

  explicit TimedPlatform(Resolver resolve) : PosixSerialPlatform(std::move(resolve)) {
    serial::UsePlatform(this);
  }
  ~TimedPlatform() override { serial::UsePlatform(nullptr); }
  TimedPlatform(const TimedPlatform&) = delete;
  TimedPlatform& operator=(const TimedPlatform&) = delete;

  std::vector<Event> events;

  // The pauses between one write and the next.
  std::vector<double> WriteGaps() const {
    std::vector<double> gaps;
    const Event* previous = nullptr;
    for (const Event& event : events) {
      if (event.what != "write") continue;
      if (previous != nullptr) gaps.push_back(event.atMs - previous->atMs);
      previous = &event;
    }
    return gaps;
  }

  serial::Handle Open(const std::string& portName) override {
    const serial::Handle handle = PosixSerialPlatform::Open(portName);
    Note("open");
    return handle;
  }
  std::size_t Write(serial::Handle handle, const std::uint8_t* data, std::size_t count) override {
    Note("write");
    return PosixSerialPlatform::Write(handle, data, count);
  }
  bool SetLine(serial::Handle handle, serial::ModemLine line, bool raised) override {
    Note(std::string(line == serial::ModemLine::Dtr ? "dtr" : "rts") + (raised ? " 1" : " 0"));
    return PosixSerialPlatform::SetLine(handle, line, raised);
  }
  bool Close(serial::Handle handle) override {
    Note("close");
    return PosixSerialPlatform::Close(handle);
  }

 private:
  void Note(const std::string& what) {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    events.push_back({std::chrono::duration<double, std::milli>(now).count(), what});
  }
};
