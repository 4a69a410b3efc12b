#include "PlatformSeam.h"
#include "RSCOM.h"

namespace {
// Tick of a 1.193 MHz counter, the clock's rate until StartClock runs.
constexpr double kInitialMsPerTick = 0.000838;

double MsPerTick = kInitialMsPerTick;
std::int64_t ClockStart = 0;
}  // namespace

void serial::ResetClock() {
  MsPerTick = kInitialMsPerTick;
  ClockStart = 0;
}

void StartClock() {
  auto& counter = serial::ActiveCounter();
  const std::int64_t frequency = counter.Frequency();
  MsPerTick = 1000.0 / static_cast<double>(frequency);
  ClockStart = counter.Now();
}

double ElapsedMs() {
  const std::int64_t now = serial::ActiveCounter().Now();
  return static_cast<double>(now - ClockStart) * MsPerTick;
}

void DelayMs(double ms) {
  const double t0 = ElapsedMs();
  // Written so that a reading equal to t0 + ms, or a NaN, ends the wait.
  while (ElapsedMs() < t0 + ms) {
  }
}
