#pragma once

#include "FakeCounter.h"
#include "FakeSerialPlatform.h"
#include "PlatformSeam.h"
#include "RSCOM.h"

// Puts a recording serial layer and a fake clock under the driver for the
// life of the object; the driver starts with no port held.
struct SerialFakes {
  FakeCounter clock;
  FakeSerialPlatform port{&clock};

  SerialFakes() {
    serial::UsePlatform(&port);
    serial::UseCounter(&clock);
    ClosePort();
    serial::ResetClock();
    port.calls.clear();
  }
  ~SerialFakes() {
    ClosePort();
    serial::UsePlatform(nullptr);
    serial::UseCounter(nullptr);
    serial::ResetClock();
  }
  SerialFakes(const SerialFakes&) = delete;
  SerialFakes& operator=(const SerialFakes&) = delete;
};
