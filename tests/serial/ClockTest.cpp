#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "SerialFakes.h"

namespace {

TEST(Clock, DelayNeverReturnsEarly) {
  for (const double ms : {0.5, 5.0, 10.0, 100.0, 400.0}) {
    SerialFakes fakes;  // steps 10 µs per reading
    StartClock();
    const double start = ElapsedMs();
    DelayMs(ms);
    EXPECT_GE(ElapsedMs() - start, ms) << ms;
  }
}

TEST(Clock, DelayOfNothingReadsTheClockTwice) {
  for (const double ms : {0.0, -1.0, -1e9, std::numeric_limits<double>::quiet_NaN()}) {
    SerialFakes fakes;
    StartClock();
    const int before = fakes.clock.Reads();
    DelayMs(ms);
    EXPECT_EQ(fakes.clock.Reads() - before, 2) << ms;
  }
}

TEST(Clock, ReadingThatMeetsTheDueMomentEndsTheDelay) {
  SerialFakes fakes;
  FakeCounter wholeMs(1000000);
  serial::UseCounter(&wholeMs);
  StartClock();  // reads 0; the delay starts at 1 and reads 2, 3, then 4, which is due
  DelayMs(3.0);
  EXPECT_EQ(wholeMs.Reads(), 5);
}

TEST(Clock, StartClockMovesTheZeroPoint) {
  SerialFakes fakes;
  fakes.clock.SetNs(5000000000);
  StartClock();
  EXPECT_NEAR(ElapsedMs(), 0.0, 0.1);
  fakes.clock.AdvanceMs(250);
  EXPECT_NEAR(ElapsedMs(), 250.0, 0.1);
  StartClock();
  EXPECT_NEAR(ElapsedMs(), 0.0, 0.1);
}

TEST(Clock, BeforeStartTheCounterTicksAt1193kHz) {
  SerialFakes fakes;
  fakes.clock.SetNs(1000000);
  EXPECT_DOUBLE_EQ(ElapsedMs(), 1000000 * 0.000838);
}

TEST(Clock, RealCounterStartsNearZeroAndNeverGoesBack) {
  serial::ResetClock();
  StartClock();
  double previous = ElapsedMs();
  EXPECT_GE(previous, 0.0);
  EXPECT_LT(previous, 50.0);
  for (int i = 0; i < 100000; ++i) {
    const double now = ElapsedMs();
    ASSERT_GE(now, previous);
    previous = now;
  }
  serial::ResetClock();
}

}  // namespace
