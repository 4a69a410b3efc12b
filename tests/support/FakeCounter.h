#pragma once

#include "SerialPlatform.h"

// A counter in nanoseconds that moves only when read (by a fixed step) or
// when told to.
class FakeCounter : public serial::Counter {
 public:
  explicit FakeCounter(std::int64_t stepNs = 10000) : stepNs_(stepNs) {}

  std::int64_t Frequency() override { return 1000000000; }
  std::int64_t Now() override {
    ++reads_;
    const std::int64_t now = nowNs_;
    nowNs_ += stepNs_;
    return now;
  }

  void AdvanceMs(double ms) { nowNs_ += static_cast<std::int64_t>(ms * 1e6); }
  void SetNs(std::int64_t ns) { nowNs_ = ns; }
  double PeekMs() const { return static_cast<double>(nowNs_) / 1e6; }
  int Reads() const { return reads_; }

 private:
  std::int64_t stepNs_;
  std::int64_t nowNs_ = 0;
  int reads_ = 0;
};
