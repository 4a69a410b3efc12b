#include "PlatformSeam.h"

#include "PosixSerialPlatform.h"

namespace serial {
namespace {
Platform* platformOverride = nullptr;
Counter* counterOverride = nullptr;
}  // namespace

Platform& ActivePlatform() {
  static PosixSerialPlatform system;
  return platformOverride != nullptr ? *platformOverride : system;
}

void UsePlatform(Platform* platform) { platformOverride = platform; }

Counter& ActiveCounter() {
  static PosixCounter system;
  return counterOverride != nullptr ? *counterOverride : system;
}

void UseCounter(Counter* counter) { counterOverride = counter; }

}  // namespace serial
