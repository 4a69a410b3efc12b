#pragma once

#include "SerialPlatform.h"

// Lets tests put a fake under the driver and the clock. Passing nullptr
// restores the operating system's own.
namespace serial {

Platform& ActivePlatform();
void UsePlatform(Platform* platform);

Counter& ActiveCounter();
void UseCounter(Counter* counter);

// The driver's handle, for tests that check its three states.
Handle CurrentPortHandle();
// Puts the clock back in its state before any StartClock.
void ResetClock();

}  // namespace serial
