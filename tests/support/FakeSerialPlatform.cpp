#include "FakeSerialPlatform.h"

#include <cstdio>

#include "FakeCounter.h"

namespace {
const char* StopName(serial::StopBits stop) {
  switch (stop) {
    case serial::StopBits::One: return "1";
    case serial::StopBits::OnePointFive: return "1.5";
    case serial::StopBits::Two: return "2";
  }
  return "?";
}

std::string Hex(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X", value);
  return text;
}
}  // namespace

double FakeSerialPlatform::NowMs() const { return clock_ != nullptr ? clock_->PeekMs() : 0.0; }

void FakeSerialPlatform::Record(const std::string& what) { calls.push_back({NowMs(), what}); }

bool FakeSerialPlatform::Refuse(serial::Handle handle, const std::string& what) {
  if (IsOpen(handle)) return false;
  Record(what + " refused");
  return true;
}

std::vector<std::string> FakeSerialPlatform::CallsLike(
    std::initializer_list<const char*> prefixes) const {
  std::vector<std::string> matching;
  for (const auto& call : calls) {
    for (const char* prefix : prefixes) {
      if (call.what.rfind(prefix, 0) == 0) {
        matching.push_back(call.what);
        break;
      }
    }
  }
  return matching;
}

serial::Handle FakeSerialPlatform::Open(const std::string& portName) {
  Record("open " + portName);
  if (present.count(portName) == 0) {
    lastFailure_ = absentFailure;
    return serial::kInvalidHandle;
  }
  lastFailure_ = serial::OpenFailure::None;
  const serial::Handle handle = nextHandle_++;
  open_[handle] = portName;
  applied = initialSettings;
  dtr = rts = false;
  return handle;
}

std::string FakeSerialPlatform::DeviceOf(const std::string& portName) const {
  return present.count(portName) ? "/dev/fake" + portName : std::string();
}

bool FakeSerialPlatform::GetSettings(serial::Handle handle, serial::LineSettings& settings) {
  if (Refuse(handle, "get settings")) return false;
  settings = applied;
  return true;
}

bool FakeSerialPlatform::SetSettings(serial::Handle handle, const serial::LineSettings& s) {
  if (Refuse(handle, "settings")) return false;
  Record("settings " + std::to_string(s.baudRate) + " " + s.parity + " " +
         std::to_string(s.dataBits) + " " + StopName(s.stopBits));
  if (refusingSettings.count(open_[handle])) return false;
  applied = s;
  dtr = rts = false;
  return true;
}

bool FakeSerialPlatform::SetTimeouts(serial::Handle handle, const serial::Timeouts& t) {
  if (Refuse(handle, "timeouts")) return false;
  Record("timeouts " + std::to_string(t.readInterval) + "/" + std::to_string(t.readTotalMultiplier) +
         "/" + std::to_string(t.readTotalConstant) + "/" + std::to_string(t.writeTotalMultiplier) +
         "/" + std::to_string(t.writeTotalConstant));
  timeouts = t;
  return true;
}

std::size_t FakeSerialPlatform::Read(serial::Handle handle, std::uint8_t* buffer, std::size_t count) {
  if (Refuse(handle, "read") || count == 0) return 0;
  if (answers.empty()) {
    if (clock_ != nullptr) clock_->AdvanceMs(timeouts.readTotalMultiplier * count + timeouts.readTotalConstant);
    Record("read -1");
    return 0;
  }
  buffer[0] = answers.front();
  answers.pop_front();
  Record("read " + Hex(buffer[0]));
  return 1;
}

std::size_t FakeSerialPlatform::Write(serial::Handle handle, const std::uint8_t* data, std::size_t count) {
  if (beforeWrite) beforeWrite(written.size());
  if (Refuse(handle, "write")) return 0;
  for (std::size_t i = 0; i < count; ++i) {
    Record("write " + Hex(data[i]));
    written.push_back(data[i]);
  }
  return count;
}

bool FakeSerialPlatform::SetLine(serial::Handle handle, serial::ModemLine line, bool raised) {
  const std::string name = line == serial::ModemLine::Dtr ? "dtr" : "rts";
  if (Refuse(handle, name)) return false;
  (line == serial::ModemLine::Dtr ? dtr : rts) = raised;
  Record(name + (raised ? " 1" : " 0"));
  return true;
}

bool FakeSerialPlatform::Close(serial::Handle handle) {
  if (Refuse(handle, "close")) return false;
  Record("close " + open_[handle]);
  open_.erase(handle);
  return true;
}
